// The design records of the program, one slot per form index.
//
// Engine start-up unpacks the design blob and stores, per record, where its
// magic starts. The table owns the unpacked bytes; a slot is a view of one
// record bounded by the end of the unpacked data (the record's own length
// field then bounds every read of the record).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/types.h"

namespace rt {

inline constexpr uint32_t kDesignSlotCount = 8092;
inline constexpr uint32_t kDesignRecordMagic = 0x01CF51BA;

class DesignTable {
 public:
  // Unpacks blob and fills the slots. A record with a bad form index or a
  // length that runs past the data ends the filling with E_FAIL; the records
  // before it stay. An empty blob leaves an empty table and succeeds.
  HRESULT install(std::span<const uint8_t> blob);
  // The same over already unpacked data.
  HRESULT installUnpacked(std::vector<uint8_t> unpacked);
  void clear();

  // The record of a form index; empty when the slot is null.
  std::span<const uint8_t> record(uint32_t formIndex) const;
  size_t recordCount() const { return count_; }

 private:
  std::vector<uint8_t> unpacked_;
  std::array<std::span<const uint8_t>, kDesignSlotCount> slots_{};
  size_t count_ = 0;
};

// The design table of the program (the engine's thread fills it at start-up).
DesignTable& CurrentDesignTable();
// Engine start-up's entry: unpacks blob into the program's design table.
HRESULT InstallDesigns(std::span<const uint8_t> blob);

}  // namespace rt

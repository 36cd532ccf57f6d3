// The positions where Split found its delimiter, in order. Most texts have
// few delimiters, so the first entries live inside the table itself (on the
// caller's stack); beyond them the table moves to the process heap and grows
// there in large steps.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "platform/types.h"

namespace rt::internal {

class MatchTable {
 public:
  static constexpr size_t kFixedEntries = 8192;
  static constexpr size_t kGrowthEntries = 0x20000;

  MatchTable() = default;
  MatchTable(const MatchTable&) = delete;
  MatchTable& operator=(const MatchTable&) = delete;

  // Appends a position; false when the heap has no room for the table.
  [[nodiscard]] bool add(UINT position);

  size_t size() const { return size_; }
  UINT operator[](size_t index) const { return entries_[index]; }
  bool onHeap() const { return heap_ != nullptr; }

 private:
  struct HeapRelease {
    void operator()(UINT* block) const;
  };

  bool grow();

  std::array<UINT, kFixedEntries> fixed_;
  std::unique_ptr<UINT, HeapRelease> heap_;
  UINT* entries_ = fixed_.data();
  size_t capacity_ = kFixedEntries;
  size_t size_ = 0;
};

}  // namespace rt::internal

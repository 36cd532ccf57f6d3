// GDI handles with generations, so that a deleted object's handle never
// reaches freed memory.
//
// A handle is 0x40000000 | (generation << 20) | (slot << 4). The high bit
// keeps handles apart from the small system-colour values (COLOR_x + 1) that
// stand for brushes in class backgrounds and FillRect, and the value stays
// below 2^31 so that it survives a round trip through a 32-bit LONG. Freed
// slots are reused oldest first, each time with the next generation.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "internal/GdiObject.h"

namespace platform::internal {

class GdiHandleTable {
 public:
  static constexpr uint32_t kSlots = 0x10000;  // slot 0 is never used
  static constexpr uint32_t kGenerations = 0x400;

  static GdiHandleTable& instance();

  // A handle for a new object; null when every slot is taken.
  HGDIOBJ add(std::shared_ptr<GdiObject> object);
  // The object the handle names, or null for a stale or foreign handle.
  std::shared_ptr<GdiObject> find(HGDIOBJ handle) const;
  template <typename T>
  std::shared_ptr<T> findAs(HGDIOBJ handle, GdiObject::Kind kind) const {
    auto object = find(handle);
    if (!object || object->kind() != kind) return nullptr;
    return std::static_pointer_cast<T>(object);
  }
  // Ends the handle and hands back its object, for the caller to drop
  // outside the lock; null when the handle is not live.
  std::shared_ptr<GdiObject> remove(HGDIOBJ handle);
  size_t liveCount() const;

 private:
  struct Slot {
    std::shared_ptr<GdiObject> object;
    uint32_t generation = 0;
  };
  static bool decode(HGDIOBJ handle, uint32_t* slot, uint32_t* generation);

  mutable std::mutex mutex_;
  std::vector<Slot> slots_{1};
  std::deque<uint32_t> freed_;
  size_t live_ = 0;
};

}  // namespace platform::internal

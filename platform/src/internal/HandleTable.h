// The process's table of kernel handles.
//
// A handle encodes a slot index and the slot's generation; closing a handle
// bumps the generation, so a stale or forged handle never reaches a freed or
// reused object. Handle values are multiples of 4 below 2^31, so they survive
// a round trip through a 32-bit integer and never equal INVALID_HANDLE_VALUE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "internal/KernelObject.h"
#include "platform/types.h"

namespace platform::internal {

class HandleTable {
 public:
  // A new handle for the object; null when the table is full.
  HANDLE insert(std::shared_ptr<KernelObject> object);

  // The object of a live handle, or null.
  std::shared_ptr<KernelObject> find(HANDLE handle) const;

  template <typename T>
  std::shared_ptr<T> findAs(HANDLE handle) const {
    return std::dynamic_pointer_cast<T>(find(handle));
  }

  // Ends a handle and hands back its object (for the caller to drop outside
  // the table's lock); null when the handle is not live.
  std::shared_ptr<KernelObject> remove(HANDLE handle);

  size_t size() const;

 private:
  struct Slot {
    std::shared_ptr<KernelObject> object;
    uint32_t generation = 0;
  };

  // Index of the slot a handle names when its generation is current, or -1.
  int64_t liveIndexOf(HANDLE handle) const;

  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
  std::deque<uint32_t> freeSlots_;  // oldest first, so a slot is reused as late as possible
  size_t liveCount_ = 0;
};

// The process's handle table.
HandleTable& KernelHandles();

}  // namespace platform::internal

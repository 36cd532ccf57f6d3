// Window handles with generations, so that a stale handle never reaches a
// destroyed window.
//
// A handle is (generation << 20) | (slot << 4): the slot number sits in bits
// 4 to 19, which spreads handles over the buckets of tables hashed by
// (handle >> 4) & 0xFFFF, and the value stays below 2^31 so that it survives
// a round trip through a 32-bit LONG. Fresh slots are used before freed ones,
// and freed slots are reused oldest first, so a slot comes back only after
// tens of thousands of destructions, each time with the next generation.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace platform::internal {

class Window;

class WindowHandleTable {
 public:
  static constexpr uint32_t kSlots = 0x10000;  // slot 0 is never used
  static constexpr uint32_t kGenerations = 0x800;

  // A handle for a new entry; null when every slot is taken.
  HWND add(std::shared_ptr<Window> window);
  // The entry the handle names, or null for a stale or foreign handle.
  std::shared_ptr<Window> find(HWND hwnd) const;
  void remove(HWND hwnd);
  // Every live entry, in slot order.
  std::vector<std::shared_ptr<Window>> all() const;

 private:
  struct Slot {
    std::shared_ptr<Window> window;
    uint32_t generation = 0;
  };
  static bool decode(HWND hwnd, uint32_t* slot, uint32_t* generation);

  std::vector<Slot> slots_{1};
  std::deque<uint32_t> freed_;
};

}  // namespace platform::internal

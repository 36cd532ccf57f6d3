#include "internal/WindowHandleTable.h"

namespace platform::internal {

bool WindowHandleTable::decode(HWND hwnd, uint32_t* slot, uint32_t* generation) {
  auto value = reinterpret_cast<uintptr_t>(hwnd);
  if ((value & 0xF) != 0 || value >= 0x80000000u) return false;
  *slot = static_cast<uint32_t>((value >> 4) & 0xFFFF);
  *generation = static_cast<uint32_t>(value >> 20);
  return *slot != 0;
}

HWND WindowHandleTable::add(std::shared_ptr<Window> window) {
  uint32_t slot;
  if (slots_.size() < kSlots) {
    slot = static_cast<uint32_t>(slots_.size());
    slots_.emplace_back();
  } else if (!freed_.empty()) {
    slot = freed_.front();
    freed_.pop_front();
  } else {
    return nullptr;
  }
  Slot& entry = slots_[slot];
  entry.generation = entry.generation % (kGenerations - 1) + 1;  // 1 .. kGenerations-1
  entry.window = std::move(window);
  uintptr_t value = (static_cast<uintptr_t>(entry.generation) << 20) | (uintptr_t{slot} << 4);
  return reinterpret_cast<HWND>(value);
}

std::shared_ptr<Window> WindowHandleTable::find(HWND hwnd) const {
  uint32_t slot, generation;
  if (!decode(hwnd, &slot, &generation) || slot >= slots_.size()) return nullptr;
  const Slot& entry = slots_[slot];
  if (entry.generation != generation) return nullptr;
  return entry.window;
}

void WindowHandleTable::remove(HWND hwnd) {
  uint32_t slot, generation;
  if (!decode(hwnd, &slot, &generation) || slot >= slots_.size()) return;
  Slot& entry = slots_[slot];
  if (entry.generation != generation || !entry.window) return;
  entry.window.reset();
  freed_.push_back(slot);
}

std::vector<std::shared_ptr<Window>> WindowHandleTable::all() const {
  std::vector<std::shared_ptr<Window>> live;
  for (const Slot& entry : slots_) {
    if (entry.window) live.push_back(entry.window);
  }
  return live;
}

}  // namespace platform::internal

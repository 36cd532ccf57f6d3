#include "internal/GdiHandleTable.h"

namespace platform::internal {
namespace {

constexpr uintptr_t kTag = 0x40000000;

}  // namespace

GdiHandleTable& GdiHandleTable::instance() {
  static GdiHandleTable table;
  return table;
}

bool GdiHandleTable::decode(HGDIOBJ handle, uint32_t* slot, uint32_t* generation) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if ((value & 0xF) != 0 || value >= 0x80000000u || !(value & kTag)) return false;
  *slot = static_cast<uint32_t>((value >> 4) & 0xFFFF);
  *generation = static_cast<uint32_t>((value >> 20) & (kGenerations - 1));
  return *slot != 0;
}

HGDIOBJ GdiHandleTable::add(std::shared_ptr<GdiObject> object) {
  std::lock_guard lock(mutex_);
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
  entry.object = std::move(object);
  ++live_;
  uintptr_t value =
      kTag | (static_cast<uintptr_t>(entry.generation) << 20) | (uintptr_t{slot} << 4);
  return reinterpret_cast<HGDIOBJ>(value);
}

std::shared_ptr<GdiObject> GdiHandleTable::find(HGDIOBJ handle) const {
  uint32_t slot, generation;
  if (!decode(handle, &slot, &generation)) return nullptr;
  std::lock_guard lock(mutex_);
  if (slot >= slots_.size()) return nullptr;
  const Slot& entry = slots_[slot];
  if (entry.generation != generation) return nullptr;
  return entry.object;
}

std::shared_ptr<GdiObject> GdiHandleTable::remove(HGDIOBJ handle) {
  uint32_t slot, generation;
  if (!decode(handle, &slot, &generation)) return nullptr;
  std::lock_guard lock(mutex_);
  if (slot >= slots_.size()) return nullptr;
  Slot& entry = slots_[slot];
  if (entry.generation != generation || !entry.object) return nullptr;
  std::shared_ptr<GdiObject> object = std::move(entry.object);
  entry.object.reset();
  freed_.push_back(slot);
  --live_;
  return object;
}

size_t GdiHandleTable::liveCount() const {
  std::lock_guard lock(mutex_);
  return live_;
}

}  // namespace platform::internal

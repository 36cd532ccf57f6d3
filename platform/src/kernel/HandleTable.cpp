#include "internal/HandleTable.h"

namespace platform::internal {
namespace {

// value = (generation << 18 | (index + 1) << 2): bits 0-1 are zero, bits
// 2-17 hold index + 1, bits 18-30 the generation, bit 31 and above are zero.
constexpr uint32_t kIndexBits = 16;
constexpr uint32_t kGenerationBits = 13;
constexpr uint32_t kMaxSlots = (1u << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = (1u << kGenerationBits) - 1;

HANDLE encode(uint32_t index, uint32_t generation) {
  uintptr_t value = ((uintptr_t{generation} << kIndexBits) | (index + 1)) << 2;
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

HANDLE HandleTable::insert(std::shared_ptr<KernelObject> object) {
  std::lock_guard lock(mutex_);
  uint32_t index;
  if (!freeSlots_.empty()) {
    index = freeSlots_.front();
    freeSlots_.pop_front();
  } else if (slots_.size() < kMaxSlots) {
    index = static_cast<uint32_t>(slots_.size());
    slots_.emplace_back();
  } else {
    return nullptr;
  }
  slots_[index].object = std::move(object);
  ++liveCount_;
  return encode(index, slots_[index].generation);
}

int64_t HandleTable::liveIndexOf(HANDLE handle) const {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if ((value & 3) != 0 || value >= (uintptr_t{1} << 31)) return -1;
  value >>= 2;
  uint32_t slotNumber = value & kMaxSlots;
  uint32_t generation = static_cast<uint32_t>(value >> kIndexBits);
  if (slotNumber == 0 || slotNumber > slots_.size()) return -1;
  const Slot& slot = slots_[slotNumber - 1];
  if (!slot.object || slot.generation != generation) return -1;
  return slotNumber - 1;
}

std::shared_ptr<KernelObject> HandleTable::find(HANDLE handle) const {
  std::lock_guard lock(mutex_);
  int64_t index = liveIndexOf(handle);
  return index < 0 ? nullptr : slots_[index].object;
}

std::shared_ptr<KernelObject> HandleTable::remove(HANDLE handle) {
  std::lock_guard lock(mutex_);
  int64_t index = liveIndexOf(handle);
  if (index < 0) return nullptr;
  Slot& slot = slots_[index];
  std::shared_ptr<KernelObject> object = std::move(slot.object);
  slot.object.reset();
  slot.generation = (slot.generation + 1) & kGenerationMask;
  freeSlots_.push_back(static_cast<uint32_t>(index));
  --liveCount_;
  return object;
}

size_t HandleTable::size() const {
  std::lock_guard lock(mutex_);
  return liveCount_;
}

HandleTable& KernelHandles() {
  static HandleTable table;
  return table;
}

}  // namespace platform::internal

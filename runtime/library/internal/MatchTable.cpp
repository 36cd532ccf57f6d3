#include "runtime/library/internal/MatchTable.h"

#include <algorithm>

#include "platform/kernel.h"

namespace rt::internal {

void MatchTable::HeapRelease::operator()(UINT* block) const {
  HeapFree(GetProcessHeap(), 0, block);
}

bool MatchTable::add(UINT position) {
  if (size_ == capacity_ && !grow()) return false;
  entries_[size_++] = position;
  return true;
}

bool MatchTable::grow() {
  // Steps of at least kGrowthEntries that also keep pace with the table, so
  // that the copies of a growing table add up to a linear cost however many
  // delimiters a long text holds.
  const size_t capacity = capacity_ + std::max(kGrowthEntries, capacity_);
  const SIZE_T bytes = capacity * sizeof(UINT);
  if (!heap_) {
    auto* block = static_cast<UINT*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (!block) return false;
    std::copy_n(fixed_.data(), size_, block);
    heap_.reset(block);
  } else {
    auto* block = static_cast<UINT*>(HeapReAlloc(GetProcessHeap(), 0, heap_.get(), bytes));
    if (!block) return false;
    static_cast<void>(heap_.release());
    heap_.reset(block);
  }
  entries_ = heap_.get();
  capacity_ = capacity;
  return true;
}

}  // namespace rt::internal

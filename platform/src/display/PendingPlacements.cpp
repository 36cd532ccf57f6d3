#include "internal/PendingPlacements.h"

#include <algorithm>

#include "platform/user.h"

namespace platform::internal {

void PendingPlacements::reported(const RECT& windowRect) {
  if (!pending_.empty() && EqualRect(&pending_.back(), &windowRect)) return;
  pending_.push_back(windowRect);
  if (pending_.size() > kLimit) pending_.pop_front();
}

bool PendingPlacements::consume(const RECT& applied) {
  auto match = std::find_if(pending_.begin(), pending_.end(),
                            [&](const RECT& r) { return EqualRect(&r, &applied); });
  if (match == pending_.end()) {
    pending_.clear();
    return false;
  }
  pending_.erase(pending_.begin(), match + 1);
  return true;
}

}  // namespace platform::internal

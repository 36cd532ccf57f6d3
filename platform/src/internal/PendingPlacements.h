// Window rectangles the desktop reported for one window (its window manager
// moved or resized it) that the platform has not applied yet.
//
// When the platform then announces a placement, the driver asks whether it
// is one of these: if so the desktop shows it already and nothing goes back,
// which keeps an interactive resize, reported as a stream of sizes, from
// being fought with the sizes it reported a moment before. Older reports
// than the one matched were overtaken and are dropped. A placement of the
// platform's own making matches none: the driver sends it to the desktop and
// forgets the pending reports, which it overrides.
#pragma once

#include <deque>

#include "platform/types.h"

namespace platform::internal {

class PendingPlacements {
 public:
  static constexpr size_t kLimit = 16;

  void reported(const RECT& windowRect);
  // True when `applied` came from the desktop.
  bool consume(const RECT& applied);
  bool empty() const { return pending_.empty(); }

 private:
  std::deque<RECT> pending_;
};

}  // namespace platform::internal

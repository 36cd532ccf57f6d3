// Which of the driver's windows the desktop says has the keyboard focus,
// reconciled with the activations the platform made itself.
//
// The desktop's word lags behind: after the platform activated a window and
// the driver asked the desktop to focus it, the desktop may still report the
// focus where it was until it gets round to the request. Such reports are
// stale and are dropped until the desktop confirms the request, until the
// user presses a mouse button (the user's choice counts again), or until
// kRaiseWaitMs have passed (the window manager refused).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace platform::internal {

class DesktopFocus {
 public:
  static constexpr uint32_t kRaiseWaitMs = 1000;

  struct Change {
    HWND hwnd;
    bool active;  // false: the desktop took the focus away from hwnd
    bool operator==(const Change&) const = default;
  };

  // The platform activated hwnd; `desktopAgrees` when the desktop's focus is
  // on it already, else the driver asked the desktop to move it there.
  void platformActivated(HWND hwnd, bool desktopAgrees, uint32_t nowMs);
  void userPressed() { raising_ = nullptr; }
  void forget(HWND hwnd);
  // The desktop's focus after a batch of its events (null: on none of the
  // driver's windows). Answers what the platform must be told, if anything.
  std::optional<Change> observed(HWND focused, uint32_t nowMs);

 private:
  HWND agreed_ = nullptr;   // where platform and desktop last agreed
  HWND raising_ = nullptr;  // asked of the desktop, not confirmed yet
  uint32_t raisedAt_ = 0;
};

}  // namespace platform::internal

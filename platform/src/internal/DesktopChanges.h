// Changes the desktop made to a top-level window, applied on the window's
// thread as it takes its input (see InjectWindowPlacement and
// InjectActivation). Both send messages and may run window procedures.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class DesktopChanges {
 public:
  // Moves and sizes hwnd to windowRect unless it is minimised or already
  // there.
  static void place(HWND hwnd, const RECT& windowRect);
  // Activates hwnd, or the enabled popup it waits for when it is disabled
  // (the driver hears of it again when that popup is active already); or
  // deactivates hwnd while it is still the active window.
  static void activate(HWND hwnd, bool active);
};

}  // namespace platform::internal

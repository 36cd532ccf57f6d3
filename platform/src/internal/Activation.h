// Focus, activation, foreground and capture of the calling thread.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class Activation {
 public:
  static HWND setFocus(HWND hwnd);
  // Makes a top-level window of this thread active (null: none); `how` is
  // WA_ACTIVE or WA_CLICKACTIVE.
  static HWND setActive(HWND hwnd, WORD how);
  // Activates another window after hwnd was hidden or is being destroyed:
  // its owner if that can be active, else the topmost such window of the
  // thread, else none.
  static void activateOther(HWND hwnd);
  static HWND setCapture(HWND hwnd);
  static bool releaseCapture();
  // A focus held by hwnd or one of its descendants moves to hwnd's parent
  // (none for a top-level window, or when the parent cannot take it).
  static void moveFocusOutOf(HWND hwnd);
  // Releases a capture held by hwnd or one of its descendants.
  static void releaseCaptureWithin(HWND hwnd);

 private:
  static bool canBeActive(HWND hwnd, HWND except);
  static bool holds(HWND hwnd, HWND holder);
};

}  // namespace platform::internal

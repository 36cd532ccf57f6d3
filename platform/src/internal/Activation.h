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
  // Clears focus and capture held by hwnd or its descendants (destruction).
  static void dropFocusAndCapture(HWND hwnd);

 private:
  static bool canBeActive(HWND hwnd, HWND except);
};

}  // namespace platform::internal

// The default handling of presses on the non-client area: dragging the
// caption moves the window, the caption buttons send their system commands
// when released over them, the scroll bars send WM_HSCROLL/WM_VSCROLL.
#pragma once

#include <functional>

#include "platform/user.h"

namespace platform::internal {

class NonClientInput {
 public:
  // WM_NCLBUTTONDOWN: hit is the hit-test code, point in screen coordinates.
  static void buttonDown(HWND hwnd, LRESULT hit, POINT point);
  // SC_MOVE: the window follows the pointer until the button is released.
  static void moveWindow(HWND hwnd, POINT start);

 private:
  static void captionButton(HWND hwnd, LRESULT hit);
  static void scrollBar(HWND hwnd, bool vertical, POINT point);
  // Runs the thread's messages with the mouse captured until the left
  // button is released; onMove sees each pointer position (screen
  // coordinates). Answers the release point.
  static POINT track(HWND hwnd, const std::function<void(POINT)>& onMove);
};

}  // namespace platform::internal

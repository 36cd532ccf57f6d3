// Draws a window's non-client area: the outer frame, the caption bar with
// its icon, title and buttons, the client edge and the standard scroll bars.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class FramePainter {
 public:
  // The whole frame; `pressed` is the caption button drawn pushed (HTCLOSE,
  // HTMAXBUTTON, HTMINBUTTON), HTNOWHERE for none.
  static void paint(HWND hwnd, LRESULT pressed = HTNOWHERE);
};

}  // namespace platform::internal

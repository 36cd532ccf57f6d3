// System metrics and the non-client area: frames, caption, scroll bars, and
// the default hit test. Values are those of a 96 pixels-per-inch screen,
// scaled to the display's resolution.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class NonClientMetrics {
 public:
  static int metric(int index);
  static int metricForDpi(int index, UINT dpi);
  // Thickness of the frame, caption and menu around the client area.
  static RECT frameInsets(DWORD style, DWORD exStyle, bool menu, UINT dpi);
  // The client rectangle of a window rectangle (frame and scroll bars off).
  static RECT clientFromWindow(DWORD style, DWORD exStyle, const RECT& window);
  // The default WM_NCHITTEST answer for a point in screen coordinates; the
  // rectangles are in screen coordinates too.
  static LRESULT hitTest(DWORD style, DWORD exStyle, const RECT& window, const RECT& client,
                         POINT point);
};

}  // namespace platform::internal

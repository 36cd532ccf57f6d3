// A frame: a child window that draws an etched group border with its
// caption and contains the controls placed in it. Notifications and colour
// requests of those controls go on to the frame's parent, so the form sees
// them as if the controls were its own children.
#pragma once

#include "platform/user.h"

namespace skiffwire {

class FrameWindow {
 public:
  // The window class the form creates frames with; the font is set with
  // WM_SETFONT like any control's.
  static const char16_t* RegisterWindowClass();

 private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT onPaint(HWND hwnd);
};

}  // namespace skiffwire

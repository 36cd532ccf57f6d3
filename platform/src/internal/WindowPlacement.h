// Position, size, z-order and visibility: SetWindowPos, ShowWindow and the
// coordinate conversions.
#pragma once

#include "internal/Window.h"

namespace platform::internal {

class WindowPlacement {
 public:
  // Undocumented-but-real flags the platform adds to WINDOWPOS.flags when
  // the client area neither moved nor changed size.
  static constexpr UINT kNoClientSize = 0x0800;
  static constexpr UINT kNoClientMove = 0x1000;

  static bool setPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  static bool show(HWND hwnd, int command);
  // The offset of a window's client origin on the screen.
  static POINT clientOrigin(HWND hwnd);
  static RECT screenWindowRect(const Window& window);
  static RECT screenClientRect(const Window& window);
  static bool isVisibleOnScreen(HWND hwnd);
  static HWND windowFromPoint(POINT screen);
  // Sends WM_SIZE and WM_MOVE describing the client area.
  static void sendSizeAndMove(HWND hwnd);
  static void invalidateTree(HWND hwnd);
  static void validateTree(HWND hwnd);
};

}  // namespace platform::internal

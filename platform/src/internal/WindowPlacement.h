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
  // Added to WINDOWPOS.flags when minimizing, maximizing or restoring.
  static constexpr UINT kStateChanged = 0x8000;

  static bool setPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  static bool show(HWND hwnd, int command);
  // Activation's own move to the top of the z-order: the window is asked
  // (WM_WINDOWPOSCHANGING) and, when it was not on top, told.
  static void bringToTop(HWND hwnd);
  // The track and maximized sizes a window starts from before WM_GETMINMAXINFO.
  static MINMAXINFO defaultMinMax(DWORD style, DWORD exStyle);
  // Windows with a sizing border and overlapped windows are asked WM_GETMINMAXINFO.
  static bool asksMinMax(DWORD style);
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

 private:
  static bool place(Window& w, WINDOWPOS pos, bool activating);
  // Shows or hides a child whose parent is not on the screen: the window is
  // told (WM_SHOWWINDOW) and nothing is placed or drawn.
  static void showInHiddenParent(HWND hwnd, bool showing);
};

}  // namespace platform::internal

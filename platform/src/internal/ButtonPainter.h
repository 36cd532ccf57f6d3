// Draws the classic buttons: bevelled push buttons in button-face grey (a
// black frame around the default one), check boxes and radio buttons with
// their labels, and etched group boxes; owner-drawn buttons are drawn by
// their parent through WM_DRAWITEM.
#pragma once

#include "internal/ButtonBehavior.h"

namespace platform::internal {

class ButtonPainter {
 public:
  static void paint(HWND hwnd, HDC dc, const ButtonBehavior& behavior, HFONT font);

 private:
  static void pushButton(HWND hwnd, HDC dc, const ButtonBehavior& behavior, bool pushed);
  static void checkButton(HWND hwnd, HDC dc, const ButtonBehavior& behavior);
  static void groupBox(HWND hwnd, HDC dc, const ButtonBehavior& behavior);
  static void ownerDraw(HWND hwnd, HDC dc, const ButtonBehavior& behavior);
};

}  // namespace platform::internal

// The four message box icons, drawn as simple vector shapes that scale with
// the resolution: a red disc with a cross (error), a yellow triangle with an
// exclamation mark (warning), and blue discs with an "i" (information) or a
// question mark (question).
#pragma once

#include "platform/gdi.h"

namespace platform::internal {

class MessageBoxIcon {
 public:
  // Draws the icon of the MB_ICON* bits of a style in the rectangle;
  // nothing without one.
  static void draw(HDC dc, UINT style, const RECT& rect);

 private:
  static void drawDisc(HDC dc, const RECT& rect, COLORREF color);
  static void drawCross(HDC dc, const RECT& rect);
  static void drawTriangle(HDC dc, const RECT& rect);
  static void drawGlyph(HDC dc, const RECT& rect, const char16_t* glyph, COLORREF color);
};

}  // namespace platform::internal

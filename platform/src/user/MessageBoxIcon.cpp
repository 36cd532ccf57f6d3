#include "internal/MessageBoxIcon.h"

#include <algorithm>
#include <iterator>

#include "platform/user.h"

namespace platform::internal {

void MessageBoxIcon::draw(HDC dc, UINT style, const RECT& rect) {
  switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
      drawDisc(dc, rect, RGB(0xD0, 0x20, 0x20));
      drawCross(dc, rect);
      return;
    case MB_ICONWARNING:
      drawTriangle(dc, rect);
      drawGlyph(dc, rect, u"!", RGB(0, 0, 0));
      return;
    case MB_ICONINFORMATION:
      drawDisc(dc, rect, RGB(0x20, 0x60, 0xD0));
      drawGlyph(dc, rect, u"i", RGB(0xFF, 0xFF, 0xFF));
      return;
    case MB_ICONQUESTION:
      drawDisc(dc, rect, RGB(0x20, 0x60, 0xD0));
      drawGlyph(dc, rect, u"?", RGB(0xFF, 0xFF, 0xFF));
      return;
    default:
      return;
  }
}

void MessageBoxIcon::drawDisc(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void MessageBoxIcon::drawCross(HDC dc, const RECT& rect) {
  int size = rect.right - rect.left;
  int inset = size * 3 / 10;
  HPEN pen = CreatePen(PS_SOLID, std::max(2, size / 8), RGB(0xFF, 0xFF, 0xFF));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, rect.left + inset, rect.top + inset, nullptr);
  LineTo(dc, rect.right - inset, rect.bottom - inset);
  MoveToEx(dc, rect.right - inset, rect.top + inset, nullptr);
  LineTo(dc, rect.left + inset, rect.bottom - inset);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void MessageBoxIcon::drawTriangle(HDC dc, const RECT& rect) {
  POINT corners[] = {{(rect.left + rect.right) / 2, rect.top + 1},
                     {rect.right - 1, rect.bottom - 2},
                     {rect.left, rect.bottom - 2}};
  HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0xC0, 0x20));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x90, 0x70, 0x00));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, corners, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void MessageBoxIcon::drawGlyph(HDC dc, const RECT& rect, const char16_t* glyph, COLORREF color) {
  LOGFONTW font{};
  font.lfHeight = -(rect.bottom - rect.top) * 3 / 4;
  font.lfWeight = FW_BOLD;
  const char16_t face[] = u"Sans";
  std::copy(std::begin(face), std::end(face), font.lfFaceName);
  HFONT handle = CreateFontIndirectW(&font);
  HGDIOBJ oldFont = SelectObject(dc, handle);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  RECT box = rect;
  // The "!" sits low in the triangle, where it is wide enough for it.
  if (glyph[0] == u'!') box.top += (rect.bottom - rect.top) / 6;
  DrawTextW(dc, glyph, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  DeleteObject(handle);
}

}  // namespace platform::internal

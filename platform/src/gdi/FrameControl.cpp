// DrawFrameControl: the classic caption buttons, scroll arrows, check boxes,
// radio buttons and push buttons, drawn pixel-exact with rectangles.
#include <algorithm>
#include <cmath>
#include <optional>

#include "internal/DisplayScale.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

// Check boxes and radio buttons grow with the display's resolution; their
// marks are the classic pixel patterns drawn with square dots of this many
// pixels.
int dotSize() {
  return std::max(1, (platform::CurrentDisplay().dpi() + 48) / 96);
}

void pixelRun(HDC dc, int x, int y, int width, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  RECT r{x, y, x + width, y + 1};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

int width(const RECT& r) {
  return r.right - r.left;
}
int height(const RECT& r) {
  return r.bottom - r.top;
}

// A raised or pressed button face; answers the area inside the edges.
RECT buttonFace(HDC dc, const RECT& rect, UINT state) {
  RECT r = rect;
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    FrameRect(dc, &r, GetSysColorBrush((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
  } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
  } else {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
  }
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  return r;
}

enum class Glyph { Close, Minimize, Maximize, Restore, Up, Down, Left, Right };

// One glyph centred in the area, in a colour.
void drawGlyph(HDC dc, const RECT& area, Glyph glyph, COLORREF color) {
  int size = std::max(4, std::min(width(area), height(area)) - 6);
  int cx = area.left + width(area) / 2, cy = area.top + height(area) / 2;
  switch (glyph) {
    case Glyph::Close: {
      int n = size - 1 - (size % 2 == 0 ? 1 : 0);
      int x0 = cx - n / 2 - 1, y0 = cy - n / 2;
      for (int i = 0; i < n; ++i) {
        pixelRun(dc, x0 + i, y0 + i, 2, color);
        pixelRun(dc, x0 + n - 1 - i, y0 + i, 2, color);
      }
      return;
    }
    case Glyph::Minimize: {
      int w = size - 2;
      int x0 = cx - w / 2 - 1, y0 = cy + size / 2 - 2;
      pixelRun(dc, x0, y0, w, color);
      pixelRun(dc, x0, y0 + 1, w, color);
      return;
    }
    case Glyph::Maximize:
    case Glyph::Restore: {
      RECT box{cx - size / 2 - 1, cy - size / 2, cx + size / 2, cy + size / 2};
      HBRUSH brush = CreateSolidBrush(color);
      FrameRect(dc, &box, brush);
      RECT top{box.left, box.top + 1, box.right, box.top + 2};
      FillRect(dc, &top, brush);
      DeleteObject(brush);
      return;
    }
    case Glyph::Up:
    case Glyph::Down:
    case Glyph::Left:
    case Glyph::Right: {
      int n = std::max(2, (std::min(width(area), height(area)) + 1) / 4);
      for (int k = 0; k < n; ++k) {
        int row = glyph == Glyph::Up || glyph == Glyph::Left ? k : n - 1 - k;
        int run = 2 * row + 1;
        if (glyph == Glyph::Up || glyph == Glyph::Down) {
          pixelRun(dc, cx - row, cy - n / 2 + k, run, color);
        } else {
          RECT column{cx - n / 2 + k, cy - row, cx - n / 2 + k + 1, cy - row + run};
          fillColor(dc, column, color);
        }
      }
      return;
    }
  }
}

// A glyph in the text colour, or embossed when the part is inactive.
void drawStateGlyph(HDC dc, RECT area, Glyph glyph, UINT state) {
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) OffsetRect(&area, 1, 1);
  if (state & DFCS_INACTIVE) {
    RECT shadow = area;
    OffsetRect(&shadow, 1, 1);
    drawGlyph(dc, shadow, glyph, GetSysColor(COLOR_BTNHIGHLIGHT));
    drawGlyph(dc, area, glyph, GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  drawGlyph(dc, area, glyph, GetSysColor(COLOR_BTNTEXT));
}

// The classic check mark, 7 by 7 dots, from its top left corner.
void checkMark(HDC dc, int x, int y, int dot, COLORREF color) {
  static constexpr int kRuns[7][2] = {{6, 1}, {5, 2}, {4, 3}, {3, 3}, {0, 5}, {1, 3}, {2, 1}};
  static constexpr int kLeftStub[7] = {-1, -1, 0, 0, -1, -1, -1};
  for (int row = 0; row < 7; ++row) {
    RECT run{x + kRuns[row][0] * dot, y + row * dot, x + (kRuns[row][0] + kRuns[row][1]) * dot,
             y + (row + 1) * dot};
    fillColor(dc, run, color);
    if (kLeftStub[row] < 0) continue;
    RECT stub{x, y + row * dot, x + (row == 3 ? 2 : 1) * dot, y + (row + 1) * dot};
    fillColor(dc, stub, color);
  }
}

HBRUSH ditherBrush() {
  static const WORD kBits[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, kBits);
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
  return brush;
}

void checkBox(HDC dc, const RECT& rect, UINT state) {
  int side = std::min({width(rect), height(rect), platform::internal::PixelsForDisplay(13)});
  RECT box{rect.left, rect.top + (height(rect) - side) / 2, rect.left + side,
           rect.top + (height(rect) - side) / 2 + side};
  RECT inner = box;
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    FrameRect(dc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&inner, -1, -1);
  } else {
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
  if (indeterminate) {
    int saved = SaveDC(dc);
    SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    HBRUSH dither = ditherBrush();
    FillRect(dc, &inner, dither);
    DeleteObject(dither);
    RestoreDC(dc, saved);
  } else {
    bool face = (state & (DFCS_PUSHED | DFCS_INACTIVE)) != 0;
    FillRect(dc, &inner, GetSysColorBrush(face ? COLOR_BTNFACE : COLOR_WINDOW));
  }
  if (!(state & DFCS_CHECKED)) return;
  COLORREF mark = indeterminate || (state & DFCS_INACTIVE) ? GetSysColor(COLOR_BTNSHADOW)
                                                           : GetSysColor(COLOR_WINDOWTEXT);
  int dot = dotSize();
  checkMark(dc, inner.left + (width(inner) - 7 * dot) / 2,
            inner.top + (height(inner) - 7 * dot) / 2, dot, mark);
}

void radioButton(HDC dc, const RECT& rect, UINT state) {
  int side = std::min({width(rect), height(rect), platform::internal::PixelsForDisplay(12)});
  RECT box{rect.left, rect.top + (height(rect) - side) / 2, rect.left + side,
           rect.top + (height(rect) - side) / 2 + side};
  // Two rings split along the rising diagonal, lit from the top left, as
  // the classic radio button bitmap has them; drawn as runs of one colour.
  COLORREF fill =
      GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW);
  double centre = side / 2.0;
  auto colorAt = [&](int x, int y) -> std::optional<COLORREF> {
    double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
    double distance = std::sqrt(dx * dx + dy * dy);
    bool upperLeft = x + y < side - 1;
    if (distance > centre) return std::nullopt;
    if (distance > centre - 1.2)
      return GetSysColor(upperLeft ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    if (distance > centre - 2.2) return GetSysColor(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
    return fill;
  };
  for (int y = 0; y < side; ++y) {
    int x = 0;
    while (x < side) {
      std::optional<COLORREF> color = colorAt(x, y);
      int run = 1;
      while (x + run < side && colorAt(x + run, y) == color)
        ++run;
      if (color) pixelRun(dc, box.left + x, box.top + y, run, *color);
      x += run;
    }
  }
  if (!(state & DFCS_CHECKED)) return;
  // The dot: rows of 2, 4, 4 and 2 dots around the centre.
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  COLORREF color = GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
  int d = dotSize();
  static constexpr int kRows[4][2] = {{-1, 2}, {-2, 4}, {-2, 4}, {-1, 2}};
  for (int row = 0; row < 4; ++row) {
    RECT run{cx + kRows[row][0] * d, cy + (row - 2) * d, cx + (kRows[row][0] + kRows[row][1]) * d,
             cy + (row - 1) * d};
    fillColor(dc, run, color);
  }
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
  if (!rect) return FALSE;
  UINT part = state & 0xFF;
  switch (type) {
    case DFC_CAPTION: {
      RECT face = buttonFace(dc, *rect, state);
      Glyph glyph = part == DFCS_CAPTIONMIN       ? Glyph::Minimize
                    : part == DFCS_CAPTIONMAX     ? Glyph::Maximize
                    : part == DFCS_CAPTIONRESTORE ? Glyph::Restore
                                                  : Glyph::Close;
      drawStateGlyph(dc, face, glyph, state);
      return TRUE;
    }
    case DFC_SCROLL: {
      if (part == DFCS_SCROLLSIZEGRIP) {
        FillRect(dc, rect, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
      }
      RECT face = buttonFace(dc, *rect, state);
      Glyph glyph = part == DFCS_SCROLLDOWN    ? Glyph::Down
                    : part == DFCS_SCROLLLEFT  ? Glyph::Left
                    : part == DFCS_SCROLLRIGHT ? Glyph::Right
                                               : Glyph::Up;
      drawStateGlyph(dc, face, glyph, state);
      return TRUE;
    }
    case DFC_BUTTON:
      if (part & DFCS_BUTTONPUSH) {
        RECT face = buttonFace(dc, *rect, state);
        if (state & DFCS_ADJUSTRECT) *rect = face;
        return TRUE;
      }
      if (part & DFCS_BUTTONRADIO) {
        radioButton(dc, *rect, state);
        return TRUE;
      }
      checkBox(dc, *rect, state | (part & DFCS_BUTTON3STATE));
      return TRUE;
  }
  return FALSE;
}

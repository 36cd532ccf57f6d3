#include "internal/FramePainter.h"

#include <algorithm>
#include <string>

#include "internal/FrameLayout.h"
#include "internal/ScrollBars.h"
#include "internal/SystemColors.h"
#include "internal/WindowManager.h"
#include "platform/controls.h"
#include "platform/gdi.h"

namespace platform::internal {
namespace {

void fill(HDC dc, const RECT& r, int colorIndex) {
  FillRect(dc, &r, GetSysColorBrush(colorIndex));
}

void outerFrame(HDC dc, const FrameLayout& layout, bool active) {
  RECT r{0, 0, layout.size.cx, layout.size.cy};
  switch (layout.border) {
    case FrameLayout::Border::None:
      return;
    case FrameLayout::Border::Thin:
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      return;
    case FrameLayout::Border::Dialog:
    case FrameLayout::Border::Sizing:
      break;
  }
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
  int band = layout.borderWidth - 2;
  int color = layout.border == FrameLayout::Border::Sizing
                  ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                  : COLOR_BTNFACE;
  for (int i = 0; i < band; ++i) {
    FrameRect(dc, &r, GetSysColorBrush(color));
    InflateRect(&r, -1, -1);
  }
}

// A small window glyph standing in for the application's icon.
void applicationIcon(HDC dc, const RECT& icon) {
  RECT frame{icon.left + 1, icon.top + 2, icon.right - 1, icon.bottom - 2};
  fill(dc, frame, COLOR_WINDOW);
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  RECT bar{frame.left + 1, frame.top + 1, frame.right - 1, frame.top + 4};
  fill(dc, bar, COLOR_HOTLIGHT);
}

void caption(HDC dc, const Window& w, const FrameLayout& layout, bool active, LRESULT pressed) {
  const RECT& bar = layout.caption;
  COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  TRIVERTEX vertices[2] = {
      {bar.left, bar.top, static_cast<COLOR16>(GetRValue(from) << 8),
       static_cast<COLOR16>(GetGValue(from) << 8), static_cast<COLOR16>(GetBValue(from) << 8), 0},
      {bar.right, bar.bottom, static_cast<COLOR16>(GetRValue(to) << 8),
       static_cast<COLOR16>(GetGValue(to) << 8), static_cast<COLOR16>(GetBValue(to) << 8), 0}};
  GRADIENT_RECT mesh{0, 1};
  GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
  fill(dc, RECT{bar.left, bar.bottom, bar.right, bar.bottom + 1}, COLOR_BTNFACE);

  int textLeft = bar.left + 3;
  if (!IsRectEmpty(&layout.icon)) {
    applicationIcon(dc, layout.icon);
    textLeft = layout.icon.right + 3;
  }
  int textRight = bar.right - 3;
  for (const RECT* button : {&layout.minButton, &layout.closeButton}) {
    if (!IsRectEmpty(button)) textRight = std::min<int>(textRight, button->left - 3);
  }
  LOGFONTW lf = SystemColors::captionFont();
  HFONT font = CreateFontIndirectW(&lf);
  int saved = SaveDC(dc);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  RECT text{textLeft, bar.top, textRight, bar.bottom};
  DrawTextW(dc, w.text.c_str(), static_cast<int>(w.text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  RestoreDC(dc, saved);
  DeleteObject(font);

  auto button = [&](const RECT& r, UINT kind, LRESULT hit, bool enabled) {
    if (IsRectEmpty(&r)) return;
    RECT face = r;
    UINT state = kind | (pressed == hit ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &face, DFC_CAPTION, state);
  };
  bool zoomed = (w.style & WS_MAXIMIZE) != 0;
  button(layout.closeButton, DFCS_CAPTIONCLOSE, HTCLOSE, true);
  button(layout.maxButton, zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, HTMAXBUTTON,
         (w.style & WS_MAXIMIZEBOX) != 0);
  button(layout.minButton, DFCS_CAPTIONMIN, HTMINBUTTON, (w.style & WS_MINIMIZEBOX) != 0);
}

HBRUSH trackBrush() {
  static const WORD kBits[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, kBits);
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
  return brush;
}

void scrollBar(HDC dc, const RECT& bar, bool vertical, const ScrollBarState& state) {
  if (IsRectEmpty(&bar)) return;
  ScrollBarLayout parts = ScrollBarLayout::of(bar, vertical, state);
  bool enabled = state.scrollable() && state.disabledArrows != ESB_DISABLE_BOTH;
  UINT up = vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
  UINT down = vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
  RECT lineUp = parts.lineUp, lineDown = parts.lineDown;
  bool upEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_LTUP);
  bool downEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_RTDN);
  DrawFrameControl(dc, &lineUp, DFC_SCROLL, up | (upEnabled ? 0 : DFCS_INACTIVE));
  DrawFrameControl(dc, &lineDown, DFC_SCROLL, down | (downEnabled ? 0 : DFCS_INACTIVE));
  RECT track = bar;
  if (vertical) {
    track.top = parts.lineUp.bottom;
    track.bottom = parts.lineDown.top;
  } else {
    track.left = parts.lineUp.right;
    track.right = parts.lineDown.left;
  }
  int saved = SaveDC(dc);
  SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  HBRUSH dither = trackBrush();
  FillRect(dc, &track, dither);
  DeleteObject(dither);
  RestoreDC(dc, saved);
  if (!IsRectEmpty(&parts.thumb)) {
    RECT thumb = parts.thumb;
    DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
}

}  // namespace

void FramePainter::paint(HWND hwnd, LRESULT pressed) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) return;
  FrameLayout layout = FrameLayout::of(*w);
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  bool active = w->captionActive || w->isChild();
  outerFrame(dc, layout, active);
  if (layout.hasCaption) caption(dc, *w, layout, active, pressed);
  if (layout.edgeWidth > 0) {
    RECT edge = layout.edge;
    UINT kind = (w->exStyle & WS_EX_CLIENTEDGE) ? EDGE_SUNKEN : BDR_SUNKENOUTER;
    DrawEdge(dc, &edge, kind, BF_RECT);
    if ((w->exStyle & WS_EX_CLIENTEDGE) && (w->exStyle & WS_EX_STATICEDGE)) {
      InflateRect(&edge, -2, -2);
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
  }
  ScrollBars none;
  ScrollBars& bars = w->scrollBars ? *w->scrollBars : none;
  scrollBar(dc, layout.verticalBar, true, bars.bar(SB_VERT));
  scrollBar(dc, layout.horizontalBar, false, bars.bar(SB_HORZ));
  if (!IsRectEmpty(&layout.sizeBox)) fill(dc, layout.sizeBox, COLOR_BTNFACE);
  ReleaseDC(hwnd, dc);
}

}  // namespace platform::internal

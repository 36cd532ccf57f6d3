#include "internal/FrameLayout.h"

#include "internal/NonClientMetrics.h"
#include "internal/Window.h"

namespace platform::internal {
namespace {

RECT offsetBy(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

}  // namespace

FrameLayout FrameLayout::of(const Window& w) {
  return of(w.style, w.exStyle, w.windowRect, w.clientRect);
}

FrameLayout FrameLayout::of(DWORD style, DWORD exStyle, const RECT& window, const RECT& client) {
  struct {
    DWORD style;
    DWORD exStyle;
  } w{style, exStyle};
  FrameLayout layout;
  layout.size = SIZE{window.right - window.left, window.bottom - window.top};
  if (w.style & WS_THICKFRAME) {
    layout.border = Border::Sizing;
    layout.borderWidth =
        NonClientMetrics::metric(SM_CXFRAME) + NonClientMetrics::metric(SM_CXPADDEDBORDER);
  } else if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME)) {
    layout.border = Border::Dialog;
    layout.borderWidth = NonClientMetrics::metric(SM_CXDLGFRAME);
  } else if (w.style & WS_BORDER) {
    layout.border = Border::Thin;
    layout.borderWidth = NonClientMetrics::metric(SM_CXBORDER);
  }
  int b = layout.borderWidth;
  int top = b;
  if ((w.style & WS_CAPTION) == WS_CAPTION) {
    layout.hasCaption = true;
    bool tool = (w.exStyle & WS_EX_TOOLWINDOW) != 0;
    int height = NonClientMetrics::metric(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    layout.caption = RECT{b, b, layout.size.cx - b, b + height - 1};
    top += height;
    int buttonHeight = height - 1 - 4;
    int buttonWidth = buttonHeight + 2;
    int barTop = layout.caption.top + 2;
    if (w.style & WS_SYSMENU) {
      int right = layout.caption.right - 2;
      layout.closeButton = RECT{right - buttonWidth, barTop, right, barTop + buttonHeight};
      int iconSize = NonClientMetrics::metric(SM_CXSMICON);
      int iconTop = layout.caption.top + (height - 1 - iconSize) / 2;
      layout.icon = RECT{layout.caption.left + 2, iconTop, layout.caption.left + 2 + iconSize,
                         iconTop + iconSize};
      if (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
        layout.maxButton = offsetBy(layout.closeButton, -(buttonWidth + 2), 0);
        layout.minButton = offsetBy(layout.maxButton, -buttonWidth, 0);
      }
    }
  }
  layout.edge = RECT{b, top, layout.size.cx - b, layout.size.cy - b};
  if (w.exStyle & WS_EX_CLIENTEDGE) layout.edgeWidth += NonClientMetrics::metric(SM_CXEDGE);
  if (w.exStyle & WS_EX_STATICEDGE) layout.edgeWidth += NonClientMetrics::metric(SM_CXBORDER);
  layout.client = offsetBy(client, -window.left, -window.top);
  if (w.style & WS_VSCROLL) {
    layout.verticalBar =
        RECT{layout.client.right, layout.client.top,
             layout.client.right + NonClientMetrics::metric(SM_CXVSCROLL), layout.client.bottom};
  }
  if (w.style & WS_HSCROLL) {
    layout.horizontalBar = RECT{layout.client.left, layout.client.bottom, layout.client.right,
                                layout.client.bottom + NonClientMetrics::metric(SM_CYHSCROLL)};
  }
  if ((w.style & WS_VSCROLL) && (w.style & WS_HSCROLL)) {
    layout.sizeBox = RECT{layout.verticalBar.left, layout.horizontalBar.top,
                          layout.verticalBar.right, layout.horizontalBar.bottom};
  }
  return layout;
}

LRESULT FrameLayout::captionPartAt(POINT p) const {
  if (!hasCaption) return HTNOWHERE;
  RECT bar = caption;
  bar.bottom += 1;
  if (!PtInRect(&bar, p)) return HTNOWHERE;
  if (PtInRect(&closeButton, p)) return HTCLOSE;
  if (PtInRect(&maxButton, p)) return HTMAXBUTTON;
  if (PtInRect(&minButton, p)) return HTMINBUTTON;
  if (PtInRect(&icon, p)) return HTSYSMENU;
  return HTCAPTION;
}

}  // namespace platform::internal

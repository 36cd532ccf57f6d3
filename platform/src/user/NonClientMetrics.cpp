#include "internal/NonClientMetrics.h"

#include <algorithm>

#include "internal/FrameLayout.h"
#include "platform/display.h"

namespace platform::internal {
namespace {

int scaled(int value, UINT dpi) {
  return static_cast<int>((value * static_cast<int>(dpi) + 48) / 96);
}

}  // namespace

int NonClientMetrics::metric(int index) {
  return metricForDpi(index, static_cast<UINT>(CurrentDisplay().dpi()));
}

int NonClientMetrics::metricForDpi(int index, UINT dpi) {
  SIZE screen = CurrentDisplay().screenSize();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXFULLSCREEN:
      return screen.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return screen.cy;
    case SM_CYFULLSCREEN:
      return screen.cy - scaled(23, dpi);
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_SWAPBUTTON:
      return 0;
    case SM_CXMAXIMIZED:
      return screen.cx + 2 * scaled(8, dpi);
    case SM_CYMAXIMIZED:
      return screen.cy + 2 * scaled(8, dpi);
    case SM_CXMAXTRACK:
      return screen.cx + 2 * scaled(8, dpi) + 12;
    case SM_CYMAXTRACK:
      return screen.cy + 2 * scaled(8, dpi) + 12;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
      return 1;
    case SM_CMOUSEBUTTONS:
      return 5;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
      return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return scaled(2, dpi);
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return scaled(3, dpi);
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXPADDEDBORDER:
      return scaled(4, dpi);
    case SM_CYCAPTION:
    case SM_CYSMCAPTION:
      return scaled(23, dpi);
    case SM_CYMENU:
    case SM_CYMENUSIZE:
      return scaled(20, dpi);
    case SM_CXMENUSIZE:
      return scaled(19, dpi);
    case SM_CXSIZE:
      return scaled(36, dpi);
    case SM_CYSIZE:
      return scaled(22, dpi);
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
      return scaled(22, dpi);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return scaled(17, dpi);
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return scaled(32, dpi);
    case SM_CXSMICON:
    case SM_CYSMICON:
      return scaled(16, dpi);
    case SM_CXMIN:
      return scaled(136, dpi);
    case SM_CYMIN:
      return scaled(39, dpi);
    case SM_CXMINTRACK:
      return scaled(136, dpi);
    case SM_CYMINTRACK:
      return scaled(39, dpi);
    case SM_CXMINIMIZED:
      return scaled(160, dpi);
    case SM_CYMINIMIZED:
      return scaled(28, dpi);
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
  }
  return 0;
}

RECT NonClientMetrics::frameInsets(DWORD style, DWORD exStyle, bool menu, UINT dpi) {
  int frame = 0;
  if (style & WS_THICKFRAME) {
    frame = metricForDpi(SM_CXFRAME, dpi) + metricForDpi(SM_CXPADDEDBORDER, dpi);
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = metricForDpi(SM_CXDLGFRAME, dpi);
  } else if (style & WS_BORDER) {
    frame = metricForDpi(SM_CXBORDER, dpi);
  }
  if (exStyle & WS_EX_CLIENTEDGE) frame += metricForDpi(SM_CXEDGE, dpi);
  if (exStyle & WS_EX_STATICEDGE) frame += metricForDpi(SM_CXBORDER, dpi);
  RECT insets{frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION) {
    insets.top += metricForDpi((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
  }
  if (menu) insets.top += metricForDpi(SM_CYMENU, dpi);
  return insets;
}

RECT NonClientMetrics::clientFromWindow(DWORD style, DWORD exStyle, const RECT& window) {
  RECT insets = frameInsets(style, exStyle, false, static_cast<UINT>(CurrentDisplay().dpi()));
  RECT client{window.left + insets.left, window.top + insets.top, window.right - insets.right,
              window.bottom - insets.bottom};
  if (style & WS_VSCROLL) client.right -= metric(SM_CXVSCROLL);
  if (style & WS_HSCROLL) client.bottom -= metric(SM_CYHSCROLL);
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  return client;
}

LRESULT NonClientMetrics::hitTest(DWORD style, DWORD exStyle, const RECT& window,
                                  const RECT& client, POINT point) {
  if (!PtInRect(&window, point)) return HTNOWHERE;
  if (PtInRect(&client, point)) return HTCLIENT;
  if (style & WS_THICKFRAME) {
    int grip = metric(SM_CXFRAME) + metric(SM_CXPADDEDBORDER);
    bool left = point.x < window.left + grip, right = point.x >= window.right - grip;
    bool top = point.y < window.top + grip, bottom = point.y >= window.bottom - grip;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  FrameLayout layout = FrameLayout::of(style, exStyle, window, client);
  LRESULT captionPart = layout.captionPartAt(POINT{point.x - window.left, point.y - window.top});
  if (captionPart != HTNOWHERE) return captionPart;
  if ((style & WS_VSCROLL) && point.x >= client.right && point.y < client.bottom) return HTVSCROLL;
  if ((style & WS_HSCROLL) && point.y >= client.bottom && point.x < client.right) return HTHSCROLL;
  return HTBORDER;
}

}  // namespace platform::internal

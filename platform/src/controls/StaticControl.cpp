#include "internal/StaticControl.h"

#include <string>

#include "internal/ControlRegistry.h"
#include "internal/ControlSupport.h"
#include "internal/SystemClasses.h"

namespace platform::internal {
namespace {

using Statics = ControlRegistry<StaticControl>;

void fillSystem(HDC dc, const RECT& r, int color) {
  FillRect(dc, &r, GetSysColorBrush(color));
}

void frameSystem(HDC dc, const RECT& r, int color) {
  FrameRect(dc, &r, GetSysColorBrush(color));
}

}  // namespace

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return StaticControl::procedure(hwnd, message, wParam, lParam);
}

LRESULT StaticControl::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    Statics::add(hwnd, std::make_shared<StaticControl>(hwnd));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  std::shared_ptr<StaticControl> control = Statics::find(hwnd);
  if (!control || message == WM_NCDESTROY) {
    Statics::remove(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return control->onPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    case WM_ERASEBKGND:
      return 1;  // the painting covers the whole control
    case WM_NCHITTEST:
      return control->onNcHitTest(wParam, lParam);
    case WM_LBUTTONDOWN:
      return control->onClick(STN_CLICKED);
    case WM_LBUTTONDBLCLK:
      return control->onClick(STN_DBLCLK);
    case WM_ENABLE:
      return control->onEnable(wParam);
    case WM_SETTEXT:
      return control->onSetText(wParam, lParam);
    case WM_SETFONT:
      return control->onSetFont(wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(control->font_);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

UINT StaticControl::textFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      format |= DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format |= DT_RIGHT | DT_WORDBREAK;
      break;
    case SS_SIMPLE:
      format = DT_LEFT | DT_SINGLELINE;
      break;
    case SS_LEFTNOWORDWRAP:
      format |= DT_LEFT;
      break;
    default:
      format |= DT_LEFT | DT_WORDBREAK;
      break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
      format = (format & ~DT_WORDBREAK) | DT_END_ELLIPSIS | DT_SINGLELINE;
      break;
    case SS_PATHELLIPSIS:
      format = (format & ~DT_WORDBREAK) | DT_PATH_ELLIPSIS | DT_SINGLELINE;
      break;
    case SS_WORDELLIPSIS:
      format = (format & ~DT_WORDBREAK) | DT_WORD_ELLIPSIS | DT_SINGLELINE;
      break;
  }
  return format;
}

DWORD StaticControl::style() const {
  return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
}

LRESULT StaticControl::onPaint(HDC given) {
  if (given) {
    paint(given);
    return 0;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (dc) paint(dc);
  EndPaint(hwnd_, &ps);
  return 0;
}

void StaticControl::paint(HDC dc) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  DWORD s = style();
  switch (s & SS_TYPEMASK) {
    case SS_BLACKRECT:
      fillSystem(dc, r, COLOR_WINDOWFRAME);
      return;
    case SS_GRAYRECT:
      fillSystem(dc, r, COLOR_BTNSHADOW);
      return;
    case SS_WHITERECT:
      fillSystem(dc, r, COLOR_WINDOW);
      return;
    case SS_BLACKFRAME:
      frameSystem(dc, r, COLOR_WINDOWFRAME);
      return;
    case SS_GRAYFRAME:
      frameSystem(dc, r, COLOR_BTNSHADOW);
      return;
    case SS_WHITEFRAME:
      frameSystem(dc, r, COLOR_WINDOW);
      return;
    case SS_ETCHEDHORZ:
      DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
      return;
    case SS_ETCHEDVERT:
      DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
      return;
    case SS_ETCHEDFRAME:
      DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      return;
    case SS_ICON:
    case SS_BITMAP:
      return;
    case SS_OWNERDRAW: {
      DRAWITEMSTRUCT item{ODT_STATIC,
                          static_cast<UINT>(GetDlgCtrlID(hwnd_)),
                          0,
                          ODA_DRAWENTIRE,
                          IsWindowEnabled(hwnd_) ? 0u : ODS_DISABLED,
                          hwnd_,
                          dc,
                          r,
                          0};
      SendMessageW(GetParent(hwnd_), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
      return;
    }
  }
  paintText(dc, s);
}

void StaticControl::paintText(HDC dc, DWORD s) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  int saved = SaveDC(dc);
  HBRUSH background = ControlSupport::askColors(hwnd_, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &r, background);
  SelectObject(dc, ControlSupport::fontOr(font_));
  std::u16string text = ControlSupport::textOf(hwnd_);
  ControlSupport::drawLabel(dc, text, r, textFormat(s), IsWindowEnabled(hwnd_) != 0);
  RestoreDC(dc, saved);
}

// Without SS_NOTIFY the pointer goes to the window below.
LRESULT StaticControl::onNcHitTest(WPARAM wParam, LPARAM lParam) {
  if (!(style() & SS_NOTIFY)) return HTTRANSPARENT;
  return DefWindowProcW(hwnd_, WM_NCHITTEST, wParam, lParam);
}

LRESULT StaticControl::onClick(WORD code) {
  if (style() & SS_NOTIFY) ControlSupport::notifyParent(hwnd_, code);
  return 0;
}

LRESULT StaticControl::onEnable(WPARAM enabled) {
  if (style() & SS_NOTIFY) ControlSupport::notifyParent(hwnd_, enabled ? STN_ENABLE : STN_DISABLE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  return 0;
}

LRESULT StaticControl::onSetText(WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProcW(hwnd_, WM_SETTEXT, wParam, lParam);
  InvalidateRect(hwnd_, nullptr, TRUE);
  return result;
}

LRESULT StaticControl::onSetFont(WPARAM font, LPARAM redraw) {
  font_ = reinterpret_cast<HFONT>(font);
  if (LOWORD(redraw)) InvalidateRect(hwnd_, nullptr, TRUE);
  return 0;
}

}  // namespace platform::internal

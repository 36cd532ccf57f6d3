// The platform's default processing of messages.
#include "platform/user.h"

#include <algorithm>

#include "internal/Activation.h"
#include "internal/FramePainter.h"
#include "internal/MessageQueue.h"
#include "internal/Messenger.h"
#include "internal/NonClientInput.h"
#include "internal/NonClientMetrics.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

using platform::internal::Activation;
using platform::internal::FramePainter;
using platform::internal::Messenger;
using platform::internal::NonClientInput;
using platform::internal::NonClientMetrics;
using platform::internal::Window;
using platform::internal::WindowManager;
using platform::internal::WindowPlacement;

namespace {

bool isTopLevel(const Window& w) {
  return w.parent == WindowManager::instance().desktop();
}

void storeText(Window& w, LPCWSTR text) {
  // A text beginning with 0xFFFF is a resource ordinal, not text.
  w.text = (text && text[0] != 0xFFFF) ? std::u16string(text) : std::u16string();
  if ((w.style & WS_CAPTION) == WS_CAPTION) w.invalidateFrame();
  if (isTopLevel(w)) platform::CurrentDisplay().windowRetitled(w.handle(), w.text);
}

LRESULT copyText(const Window& w, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  if (!out || size == 0) return 0;
  size_t count = std::min<size_t>(w.text.size(), size - 1);
  std::copy_n(w.text.data(), count, out);
  out[count] = 0;
  return static_cast<LRESULT>(count);
}

HCURSOR cursorForHit(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT:
      return LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM:
      return LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return LoadCursorW(nullptr, IDC_SIZENESW);
  }
  return LoadCursorW(nullptr, IDC_ARROW);
}

HWND parentWindowOf(const Window& w) {
  return WindowManager::instance().parentWindowOf(w);
}

LRESULT setCursor(Window& w, WPARAM wParam, LPARAM lParam) {
  if (HWND parent = parentWindowOf(w)) {
    if (Messenger::send(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  }
  auto hit = static_cast<SHORT>(LOWORD(lParam));
  if (hit == HTCLIENT) {
    if (HCURSOR cursor = w.windowClass().cursor()) SetCursor(cursor);
    return TRUE;
  }
  SetCursor(cursorForHit(hit));
  return TRUE;
}

LRESULT systemCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      Messenger::send(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MOVE:
      NonClientInput::moveWindow(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
  }
  return 0;
}

// A resize of a window with a sizing border or of an overlapped window is
// kept within the sizes WM_GETMINMAXINFO answers.
void windowPosChanging(HWND hwnd, WINDOWPOS* pos) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w || !pos || (pos->flags & SWP_NOSIZE) || (w->style & WS_MINIMIZE)) return;
  if (!WindowPlacement::asksMinMax(w->style)) return;
  MINMAXINFO info = WindowPlacement::defaultMinMax(w->style, w->exStyle);
  Messenger::send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  if (w->style & WS_MAXIMIZE) {
    pos->cx = std::min<int>(pos->cx, info.ptMaxSize.x);
    pos->cy = std::min<int>(pos->cy, info.ptMaxSize.y);
    return;
  }
  pos->cx = std::clamp<int>(pos->cx, info.ptMinTrackSize.x,
                            std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
  pos->cy = std::clamp<int>(pos->cy, info.ptMinTrackSize.y,
                            std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

// The window hears where its client area went, then its new size.
void windowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w || !pos) return;
  bool size = !(pos->flags & WindowPlacement::kNoClientSize) && !(pos->flags & SWP_NOSIZE);
  bool move = !(pos->flags & WindowPlacement::kNoClientMove) && !(pos->flags & SWP_NOMOVE);
  if (!size && !move) return;
  w->sendSizeMove = false;
  RECT client = w->clientRect;
  if (move) {
    Messenger::send(hwnd, WM_MOVE, 0,
                    MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
  }
  if (!size || !WindowManager::instance().find(hwnd)) return;
  client = w->clientRect;
  WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                           : SIZE_RESTORED;
  Messenger::send(hwnd, WM_SIZE, kind,
                  MAKELPARAM(static_cast<WORD>(client.right - client.left),
                             static_cast<WORD>(client.bottom - client.top)));
}

// Fills the area to paint with the class background: a brush, or a system
// colour given as COLOR_x + 1. Nonzero when there was one.
LRESULT eraseBackground(Window& w, HDC dc) {
  HBRUSH background = w.windowClass().background();
  if (!background || !dc) return 0;
  RECT client{0, 0, w.clientRect.right - w.clientRect.left, w.clientRect.bottom - w.clientRect.top};
  FillRect(dc, &client, background);
  return 1;
}

// Edit controls and list boxes sit on the window colour, the rest on the
// button face; text is in the window text colour.
LRESULT controlColors(UINT message, HDC dc) {
  bool onWindow = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  if (message == WM_CTLCOLORSCROLLBAR) {
    SetBkColor(dc, GetSysColor(COLOR_3DHILIGHT));
    SetTextColor(dc, GetSysColor(COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
  }
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(onWindow ? COLOR_WINDOW : COLOR_3DFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(onWindow ? COLOR_WINDOW : COLOR_3DFACE));
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName) storeText(*w, cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      if (wParam) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        params->rgrc[0] = NonClientMetrics::clientFromWindow(w->style, w->exStyle, params->rgrc[0]);
      } else if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
        *rect = NonClientMetrics::clientFromWindow(w->style, w->exStyle, *rect);
      }
      return 0;
    }
    case WM_NCHITTEST: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      return NonClientMetrics::hitTest(w->style, w->exStyle, WindowPlacement::screenWindowRect(*w),
                                       WindowPlacement::screenClientRect(*w), point);
    }
    case WM_SETTEXT:
      storeText(*w, reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case WM_GETTEXT:
      return copyText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return systemCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == static_cast<WPARAM>(VK_F4) && (HIWORD(lParam) & 0x2000)) {
        Messenger::send(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(hwnd, &paint)) EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return eraseBackground(*w, reinterpret_cast<HDC>(wParam));
    case WM_NCPAINT:
      FramePainter::paint(hwnd);
      return 0;
    case WM_NCACTIVATE:
      w->captionActive = wParam != 0;
      if ((w->style & WS_CAPTION) == WS_CAPTION) w->invalidateFrame();
      return TRUE;
    case WM_NCLBUTTONDOWN:
      NonClientInput::buttonDown(hwnd, static_cast<LRESULT>(wParam),
                                 POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return controlColors(message, reinterpret_cast<HDC>(wParam));
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_ACTIVATE: {
      if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam)) return 0;
      HWND focus = GetFocus();
      if (focus != hwnd && !IsChild(hwnd, focus)) Activation::setFocus(hwnd);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (HWND parent = parentWindowOf(*w)) {
        if (LRESULT answer = Messenger::send(parent, WM_MOUSEACTIVATE, wParam, lParam)) {
          return answer;
        }
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      return setCursor(*w, wParam, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
      if (HWND parent = parentWindowOf(*w)) return Messenger::send(parent, message, wParam, lParam);
      return 0;
    case WM_WINDOWPOSCHANGING:
      windowPosChanging(hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED:
      windowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_NOTIFYFORMAT:
      return 2;  // NFR_UNICODE
  }
  return 0;
}

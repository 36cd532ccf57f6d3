#include "internal/NonClientInput.h"

#include "internal/FrameLayout.h"
#include "internal/FramePainter.h"
#include "internal/ScrollBars.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/controls.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

// A screen point in window coordinates (the window rectangle's top left is 0,0).
POINT toWindow(const Window& w, POINT screen) {
  RECT r = WindowPlacement::screenWindowRect(w);
  return POINT{screen.x - r.left, screen.y - r.top};
}

WPARAM commandOf(const Window& w, LRESULT hit) {
  switch (hit) {
    case HTMINBUTTON:
      return SC_MINIMIZE;
    case HTMAXBUTTON:
      return (w.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
  }
  return SC_CLOSE;
}

RECT buttonRect(const FrameLayout& layout, LRESULT hit) {
  switch (hit) {
    case HTMINBUTTON:
      return layout.minButton;
    case HTMAXBUTTON:
      return layout.maxButton;
  }
  return layout.closeButton;
}

}  // namespace

POINT NonClientInput::track(HWND hwnd, const std::function<void(POINT)>& onMove) {
  SetCapture(hwnd);
  POINT last = manager().cursorPos();
  MSG msg;
  while (GetCapture() == hwnd) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
        last = msg.pt;
        onMove(last);
        continue;
      case WM_LBUTTONUP:
        last = msg.pt;
        ReleaseCapture();
        return last;
      case WM_KEYDOWN:
        if (msg.wParam == static_cast<WPARAM>(VK_ESCAPE)) ReleaseCapture();
        continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  return last;
}

void NonClientInput::buttonDown(HWND hwnd, LRESULT hit, POINT point) {
  auto w = manager().find(hwnd);
  if (!w) return;
  switch (hit) {
    case HTCAPTION:
      if (!w->isChild() && !(w->style & WS_MAXIMIZE)) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION,
                     MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
      }
      return;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
      captionButton(hwnd, hit);
      return;
    case HTVSCROLL:
    case HTHSCROLL:
      scrollBar(hwnd, hit == HTVSCROLL, point);
      return;
  }
}

void NonClientInput::captionButton(HWND hwnd, LRESULT hit) {
  auto w = manager().find(hwnd);
  if (!w) return;
  if (hit == HTMAXBUTTON && !(w->style & WS_MAXIMIZEBOX)) return;
  if (hit == HTMINBUTTON && !(w->style & WS_MINIMIZEBOX)) return;
  RECT button = buttonRect(FrameLayout::of(*w), hit);
  bool pressed = true;
  FramePainter::paint(hwnd, hit);
  POINT release = track(hwnd, [&](POINT at) {
    auto current = manager().find(hwnd);
    if (!current) return;
    bool inside = PtInRect(&button, toWindow(*current, at)) != 0;
    if (inside == pressed) return;
    pressed = inside;
    FramePainter::paint(hwnd, inside ? hit : HTNOWHERE);
  });
  w = manager().find(hwnd);
  if (!w) return;
  FramePainter::paint(hwnd, HTNOWHERE);
  if (!PtInRect(&button, toWindow(*w, release))) return;
  SendMessageW(hwnd, WM_SYSCOMMAND, commandOf(*w, hit),
               MAKELPARAM(static_cast<WORD>(release.x), static_cast<WORD>(release.y)));
}

void NonClientInput::scrollBar(HWND hwnd, bool vertical, POINT point) {
  auto w = manager().find(hwnd);
  if (!w) return;
  if (!w->scrollBars) w->scrollBars = std::make_shared<ScrollBars>();
  ScrollBarState state = w->scrollBars->bar(vertical ? SB_VERT : SB_HORZ);
  FrameLayout frame = FrameLayout::of(*w);
  ScrollBarLayout parts =
      ScrollBarLayout::of(vertical ? frame.verticalBar : frame.horizontalBar, vertical, state);
  UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
  auto send = [&](WORD code, int pos) {
    SendMessageW(hwnd, message, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
  };
  POINT start = toWindow(*w, point);
  switch (parts.partAt(start)) {
    case ScrollBarLayout::Part::None:
      return;
    case ScrollBarLayout::Part::LineUp:
      send(SB_LINEUP, 0);
      break;
    case ScrollBarLayout::Part::LineDown:
      send(SB_LINEDOWN, 0);
      break;
    case ScrollBarLayout::Part::PageUp:
      send(SB_PAGEUP, 0);
      break;
    case ScrollBarLayout::Part::PageDown:
      send(SB_PAGEDOWN, 0);
      break;
    case ScrollBarLayout::Part::Thumb: {
      int position = state.pos;
      track(hwnd, [&](POINT at) {
        auto current = manager().find(hwnd);
        if (!current) return;
        POINT here = toWindow(*current, at);
        int offset = vertical ? here.y - start.y : here.x - start.x;
        position = parts.positionForDrag(state, state.pos, offset);
        current->scrollBars->bar(vertical ? SB_VERT : SB_HORZ).trackPos = position;
        send(SB_THUMBTRACK, position);
      });
      send(SB_THUMBPOSITION, position);
      send(SB_ENDSCROLL, 0);
      return;
    }
  }
  track(hwnd, [](POINT) {});
  send(SB_ENDSCROLL, 0);
}

void NonClientInput::moveWindow(HWND hwnd, POINT start) {
  auto w = manager().find(hwnd);
  if (!w) return;
  RECT origin = w->windowRect;
  SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  track(hwnd, [&](POINT at) {
    SetWindowPos(hwnd, nullptr, origin.left + at.x - start.x, origin.top + at.y - start.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
  SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace platform::internal

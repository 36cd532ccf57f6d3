// The standard scroll bars of a window.
#include <algorithm>

#include "internal/ScrollBars.h"
#include "internal/WindowManager.h"
#include "platform/controls.h"
#include "platform/kernel.h"

using platform::internal::ScrollBars;
using platform::internal::ScrollBarState;
using platform::internal::Window;
using platform::internal::WindowManager;

namespace {

std::shared_ptr<Window> windowOf(HWND hwnd) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

bool validBar(int bar) {
  return bar == SB_HORZ || bar == SB_VERT;
}

ScrollBarState& stateOf(Window& w, int bar) {
  if (!w.scrollBars) w.scrollBars = std::make_shared<ScrollBars>();
  return w.scrollBars->bar(bar);
}

void redrawBar(Window& w, int bar, BOOL redraw) {
  DWORD style = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (redraw && (w.style & style)) w.invalidateFrame();
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  auto w = windowOf(hwnd);
  if (!w || !info || !validBar(bar)) return 0;
  ScrollBarState& state = stateOf(*w, bar);
  if (info->fMask & SIF_RANGE) {
    state.min = info->nMin;
    state.max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) {
    state.page = std::min<UINT>(info->nPage, static_cast<UINT>(state.max - state.min + 1));
  }
  if (info->fMask & SIF_POS) state.pos = info->nPos;
  state.pos = std::clamp(state.pos, state.min, state.maxPos());
  redrawBar(*w, bar, redraw);
  return state.pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  auto w = windowOf(hwnd);
  if (!w || !info || !validBar(bar)) return FALSE;
  const ScrollBarState& state = stateOf(*w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = state.min;
    info->nMax = state.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state.page;
  if (info->fMask & SIF_POS) info->nPos = state.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.trackPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  auto w = windowOf(hwnd);
  if (!w || !validBar(bar)) return 0;
  int previous = stateOf(*w, bar).pos;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &info, redraw);
  return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
  auto w = windowOf(hwnd);
  if (!w || !validBar(bar)) return 0;
  return stateOf(*w, bar).pos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO info{sizeof info, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  return windowOf(hwnd) && validBar(bar) ? (SetScrollInfo(hwnd, bar, &info, redraw), TRUE) : FALSE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  auto w = windowOf(hwnd);
  if (!w || !validBar(bar) || !minPos || !maxPos) return FALSE;
  *minPos = stateOf(*w, bar).min;
  *maxPos = stateOf(*w, bar).max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  auto w = windowOf(hwnd);
  if (!w) return FALSE;
  DWORD bits = bar == SB_VERT   ? WS_VSCROLL
               : bar == SB_HORZ ? WS_HSCROLL
               : bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL)
                                : 0;
  if (!bits) return FALSE;
  DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return TRUE;
  w->style = style;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  auto w = windowOf(hwnd);
  if (!w) return FALSE;
  auto apply = [&](int which) {
    stateOf(*w, which).disabledArrows = arrows & ESB_DISABLE_BOTH;
    redrawBar(*w, which, TRUE);
  };
  if (bar == SB_VERT || bar == SB_BOTH) apply(SB_VERT);
  if (bar == SB_HORZ || bar == SB_BOTH) apply(SB_HORZ);
  return TRUE;
}

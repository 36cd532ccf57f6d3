#include "internal/WindowPlacement.h"

#include <algorithm>

#include "internal/Activation.h"
#include "internal/MessageQueue.h"
#include "internal/Messenger.h"
#include "internal/NonClientMetrics.h"
#include "internal/Painting.h"
#include "internal/WindowManager.h"
#include "platform/display.h"
#include "platform/kernel.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

bool isTopLevel(const Window& w) {
  return w.parent == manager().desktop();
}

int widthOf(const RECT& r) {
  return r.right - r.left;
}
int heightOf(const RECT& r) {
  return r.bottom - r.top;
}

WPARAM sizeKind(const Window& w) {
  if (w.style & WS_MINIMIZE) return SIZE_MINIMIZED;
  if (w.style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

// The flags of a request as they act: those that ask for no change dropped
// or added. What the window is told in WM_WINDOWPOSCHANGING stays as asked.
UINT effectiveFlags(const Window& w, const WINDOWPOS& pos) {
  UINT flags = pos.flags;
  if ((flags & SWP_SHOWWINDOW) && w.isVisible()) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !w.isVisible()) flags &= ~SWP_HIDEWINDOW;
  if (!(flags & SWP_NOSIZE) && pos.cx == widthOf(w.windowRect) &&
      pos.cy == heightOf(w.windowRect)) {
    flags |= SWP_NOSIZE;
  }
  if (!(flags & SWP_NOMOVE) && pos.x == w.windowRect.left && pos.y == w.windowRect.top) {
    flags |= SWP_NOMOVE;
  }
  if (pos.hwndInsertAfter == w.handle()) flags |= SWP_NOZORDER;
  bool showing = (flags & SWP_SHOWWINDOW) != 0;
  if (w.isChild() || (!w.isVisible() && !showing) || (flags & SWP_HIDEWINDOW)) {
    flags |= SWP_NOACTIVATE;
  }
  if (!(flags & SWP_NOACTIVATE) && MessageQueue::current()->input().active == w.handle()) {
    flags |= SWP_NOACTIVATE;
  }
  return flags;
}

bool changesNothing(UINT flags) {
  constexpr UINT kNothing = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  return (flags & kNothing) == kNothing &&
         !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
}

bool isFirstSibling(HWND hwnd) {
  std::vector<HWND> siblings = manager().children(manager().parentOf(hwnd));
  return !siblings.empty() && siblings.front() == hwnd;
}

}  // namespace

POINT WindowPlacement::clientOrigin(HWND hwnd) {
  POINT origin{0, 0};
  for (auto w = manager().find(hwnd); w && w->handle() != manager().desktop();
       w = manager().find(w->parent)) {
    origin.x += w->clientRect.left;
    origin.y += w->clientRect.top;
  }
  return origin;
}

RECT WindowPlacement::screenWindowRect(const Window& window) {
  if (window.handle() == manager().desktop()) {
    SIZE screen = CurrentDisplay().screenSize();
    return RECT{0, 0, screen.cx, screen.cy};
  }
  POINT origin = clientOrigin(window.parent);
  RECT r = window.windowRect;
  OffsetRect(&r, origin.x, origin.y);
  return r;
}

RECT WindowPlacement::screenClientRect(const Window& window) {
  if (window.handle() == manager().desktop()) return screenWindowRect(window);
  POINT origin = clientOrigin(window.parent);
  RECT r = window.clientRect;
  OffsetRect(&r, origin.x, origin.y);
  return r;
}

bool WindowPlacement::isVisibleOnScreen(HWND hwnd) {
  for (auto w = manager().find(hwnd); w; w = manager().find(w->parent)) {
    if (!w->isVisible()) return false;
    if (w->handle() == manager().desktop()) return true;
  }
  return false;
}

HWND WindowPlacement::windowFromPoint(POINT screen) {
  HWND found = nullptr;
  std::vector<HWND> candidates = manager().topLevelWindows();
  for (;;) {
    HWND next = nullptr;
    for (HWND hwnd : candidates) {
      auto w = manager().find(hwnd);
      if (!w || !w->isVisible() || !w->isAlive()) continue;
      RECT r = screenWindowRect(*w);
      if (!PtInRect(&r, screen)) continue;
      next = hwnd;
      if (w->isDisabled()) return found ? found : nullptr;
      break;
    }
    if (!next) return found;
    found = next;
    auto w = manager().find(found);
    RECT client = screenClientRect(*w);
    if (!PtInRect(&client, screen)) return found;
    candidates = manager().children(found);
  }
}

void WindowPlacement::invalidateTree(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w || !w->isVisible()) return;
  w->invalidate(nullptr);
  if (Painting::hasFrame(w->style, w->exStyle)) w->invalidateFrame();
  for (HWND child : manager().children(hwnd))
    invalidateTree(child);
}

void WindowPlacement::validateTree(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  w->validateAll();
  for (HWND child : manager().children(hwnd))
    validateTree(child);
}

void WindowPlacement::sendSizeAndMove(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  w->sendSizeMove = false;
  RECT client = w->clientRect;
  Messenger::send(
      hwnd, WM_SIZE, sizeKind(*w),
      MAKELPARAM(static_cast<WORD>(widthOf(client)), static_cast<WORD>(heightOf(client))));
  if (!manager().find(hwnd)) return;
  Messenger::send(hwnd, WM_MOVE, 0,
                  MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
}

bool WindowPlacement::setPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                                  UINT flags) {
  auto w = manager().find(hwnd);
  if (!w || hwnd == manager().desktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  WINDOWPOS pos{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  // Nothing is redrawn for a child whose parent is not on the screen.
  if (w->isChild() && !isVisibleOnScreen(w->parent)) pos.flags |= SWP_NOREDRAW;
  if (changesNothing(effectiveFlags(*w, pos))) return true;
  return place(*w, pos, false);
}

void WindowPlacement::bringToTop(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  place(*w, WINDOWPOS{hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE}, true);
}

bool WindowPlacement::place(Window& w, WINDOWPOS pos, bool activating) {
  HWND hwnd = w.handle();
  // Activation brings the window up without activating it again, and a
  // window already on top is only asked.
  auto actsOn = [&](const WINDOWPOS& p) {
    UINT flags = effectiveFlags(w, p);
    if (!activating) return flags;
    flags |= SWP_NOACTIVATE;
    if (p.hwndInsertAfter == HWND_TOP && isFirstSibling(hwnd)) flags |= SWP_NOZORDER;
    return flags;
  };
  UINT acts = actsOn(pos);
  if (!(pos.flags & SWP_NOSENDCHANGING)) {
    Messenger::send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!manager().find(hwnd)) return false;
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
    acts = actsOn(pos);
    if (activating && changesNothing(acts)) return true;
  }

  RECT oldWindow = w.windowRect;
  RECT oldClient = w.clientRect;
  RECT newWindow = oldWindow;
  if (!(acts & SWP_NOMOVE)) OffsetRect(&newWindow, pos.x - oldWindow.left, pos.y - oldWindow.top);
  if (!(acts & SWP_NOSIZE)) {
    newWindow.right = newWindow.left + pos.cx;
    newWindow.bottom = newWindow.top + pos.cy;
  }
  RECT newClient = oldClient;
  OffsetRect(&newClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
  if (!(acts & SWP_NOSIZE) || (acts & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{{newWindow, oldWindow, oldClient}, &pos};
    Messenger::send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!manager().find(hwnd)) return false;
    newClient = params.rgrc[0];
  }
  w.windowRect = newWindow;
  w.clientRect = newClient;
  // What WM_WINDOWPOSCHANGED reports: the request, with what did not change.
  UINT reported = pos.flags | (acts & (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER));
  if (widthOf(newClient) == widthOf(oldClient) && heightOf(newClient) == heightOf(oldClient)) {
    reported |= kNoClientSize;
  }
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) {
    reported |= kNoClientMove;
  }

  if (!(acts & SWP_NOZORDER)) {
    HWND after = pos.hwndInsertAfter;
    if (!w.isChild() && after == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
    if (!w.isChild() && after == HWND_NOTOPMOST) w.exStyle &= ~WS_EX_TOPMOST;
    manager().reorder(hwnd, after);
  }
  bool shown = (acts & SWP_SHOWWINDOW) != 0;
  bool hidden = (acts & SWP_HIDEWINDOW) != 0;
  if (shown) w.style |= WS_VISIBLE;
  if (hidden) {
    w.style &= ~WS_VISIBLE;
    validateTree(hwnd);
  }
  if (!(acts & SWP_NOACTIVATE)) Activation::setActive(hwnd, WA_ACTIVE);
  if (!manager().find(hwnd)) return false;
  // A child asked to activate hears of it; it cannot be the active window.
  if (w.isChild() && !(pos.flags & SWP_NOACTIVATE) && !hidden) {
    Messenger::send(hwnd, WM_CHILDACTIVATE, 0, 0);
    if (!manager().find(hwnd)) return false;
  }
  bool resized = !(reported & kNoClientSize);
  bool moved = !(acts & SWP_NOMOVE) && !EqualRect(&oldWindow, &newWindow);
  if (shown || (resized && !(acts & SWP_NOREDRAW)) || (acts & SWP_FRAMECHANGED)) {
    invalidateTree(hwnd);
  }
  if (w.isChild() && !(acts & SWP_NOREDRAW)) {
    // Child windows share their top-level window's pixels: what a child
    // uncovers is repainted by the windows below it, and a moved child
    // repaints itself where it lands.
    bool wasVisible = hidden || (w.isVisible() && !shown);
    if (wasVisible && (hidden || moved || resized)) {
      Painting::invalidate(w.parent, Region(oldWindow), true, Painting::Children::All);
    }
    if (moved && w.isVisible()) invalidateTree(hwnd);
  }

  WINDOWPOS changed = pos;
  changed.flags = reported;
  changed.x = newWindow.left;
  changed.y = newWindow.top;
  changed.cx = widthOf(newWindow);
  changed.cy = heightOf(newWindow);
  Messenger::send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&changed));
  if (!manager().find(hwnd) || !isTopLevel(w)) return true;
  DisplayDriver& display = CurrentDisplay();
  if (shown) display.windowShown(hwnd);
  if (hidden) display.windowHidden(hwnd);
  if (!(acts & SWP_NOMOVE) || !(acts & SWP_NOSIZE)) {
    display.windowMoved(hwnd, screenWindowRect(w));
  }
  return true;
}

MINMAXINFO WindowPlacement::defaultMinMax(DWORD style, DWORD exStyle) {
  RECT insets = NonClientMetrics::frameInsets(style, exStyle, false,
                                              static_cast<UINT>(CurrentDisplay().dpi()));
  MINMAXINFO info{};
  info.ptMaxSize = {NonClientMetrics::metric(SM_CXSCREEN) + insets.left + insets.right,
                    NonClientMetrics::metric(SM_CYSCREEN) + insets.left + insets.right};
  info.ptMaxPosition = {-insets.left, -insets.left};
  info.ptMinTrackSize = {NonClientMetrics::metric(SM_CXMINTRACK),
                         NonClientMetrics::metric(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {NonClientMetrics::metric(SM_CXMAXTRACK),
                         NonClientMetrics::metric(SM_CYMAXTRACK)};
  return info;
}

bool WindowPlacement::asksMinMax(DWORD style) {
  return (style & WS_THICKFRAME) || !(style & (WS_CHILD | WS_POPUP));
}

void WindowPlacement::showInHiddenParent(HWND hwnd, bool showing) {
  auto w = manager().find(hwnd);
  if (!w || showing == w->isVisible()) return;
  Messenger::send(hwnd, WM_SHOWWINDOW, showing, 0);
  if (!manager().find(hwnd)) return;
  if (showing) {
    w->style |= WS_VISIBLE;
    return;
  }
  w->style &= ~WS_VISIBLE;
  validateTree(hwnd);
  Activation::moveFocusOutOf(hwnd);
}

bool WindowPlacement::show(HWND hwnd, int command) {
  auto w = manager().find(hwnd);
  if (!w || hwnd == manager().desktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  bool wasVisible = w->isVisible();
  bool showing = command != SW_HIDE;
  if (!showing && !wasVisible) return false;
  if (command == SW_SHOW && wasVisible) return true;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE;
  if (w->isChild()) flags |= SWP_NOZORDER | SWP_NOACTIVATE;
  RECT target = w->windowRect;
  DWORD stateStyle = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  DWORD newState = stateStyle;
  switch (command) {
    case SW_HIDE:
      flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
      flags |= SWP_NOACTIVATE | SWP_NOZORDER;
      [[fallthrough]];
    case SW_SHOWMINIMIZED:
      // Minimizing always says it shows, visible or not.
      flags |= SWP_SHOWWINDOW;
      newState = WS_MINIMIZE;
      break;
    case SW_SHOWMAXIMIZED:
      newState = WS_MAXIMIZE;
      break;
    case SW_SHOWNA:
      flags |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNOACTIVATE:
      flags |= SWP_NOACTIVATE;
      [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      if (stateStyle) newState = 0;
      break;
    case SW_SHOW:
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
  }
  if (showing && !wasVisible) flags |= SWP_SHOWWINDOW;
  bool stateChanges = newState != stateStyle;
  if (w->isChild() && !stateChanges && !isVisibleOnScreen(w->parent)) {
    showInHiddenParent(hwnd, showing);
    return wasVisible;
  }
  if (stateChanges) {
    if (!stateStyle) w->normalRect = w->windowRect;
    if (newState == WS_MAXIMIZE) {
      MINMAXINFO info = defaultMinMax(w->style, w->exStyle);
      Messenger::send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
      if (!manager().find(hwnd)) return wasVisible;
      target =
          RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
               info.ptMaxPosition.y + info.ptMaxSize.y};
    } else if (newState == WS_MINIMIZE) {
      target = RECT{-32000, -32000, -32000 + NonClientMetrics::metric(SM_CXMINIMIZED),
                    -32000 + NonClientMetrics::metric(SM_CYMINIMIZED)};
    } else {
      target = w->normalRect;
    }
    w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | newState;
    flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
    flags |= SWP_FRAMECHANGED | SWP_NOCOPYBITS | kStateChanged;
  }
  // A change of state is not announced as a show.
  bool quietShow = stateChanges || command == SW_SHOWMINIMIZED || command == SW_SHOWMAXIMIZED ||
                   command == SW_RESTORE;
  if (showing != wasVisible && !quietShow) {
    Messenger::send(hwnd, WM_SHOWWINDOW, showing, 0);
    if (!manager().find(hwnd)) return wasVisible;
  }
  setPosition(hwnd, HWND_TOP, target.left, target.top, widthOf(target), heightOf(target), flags);
  if (!manager().find(hwnd)) return wasVisible;
  // A size and place still owed to the window come before it loses the activation.
  if (w->sendSizeMove) sendSizeAndMove(hwnd);
  if (!manager().find(hwnd)) return wasVisible;
  // Hiding and SW_MINIMIZE hand the activation to the next window.
  bool handsOver = !showing || command == SW_MINIMIZE || command == SW_FORCEMINIMIZE;
  if (handsOver && MessageQueue::current()->input().active == hwnd) {
    Activation::activateOther(hwnd);
  }
  if (!showing) Activation::moveFocusOutOf(hwnd);
  return wasVisible;
}

}  // namespace platform::internal

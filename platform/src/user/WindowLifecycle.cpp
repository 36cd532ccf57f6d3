#include "internal/WindowLifecycle.h"

#include <algorithm>

#include "internal/Activation.h"
#include "internal/ClassRegistry.h"
#include "internal/MessageQueue.h"
#include "internal/Messenger.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/display.h"
#include "platform/kernel.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

// Where a CW_USEDEFAULT top-level window goes: a cascade over the screen.
RECT defaultPlacement(bool defaultPosition, bool defaultSize, const RECT& asked) {
  static std::atomic<int> cascade{0};
  SIZE screen = CurrentDisplay().screenSize();
  RECT r = asked;
  if (defaultPosition) {
    int step = 26 * (cascade++ % 8);
    r.left = step;
    r.top = step;
  }
  int width = defaultSize ? screen.cx * 3 / 4 : asked.right - asked.left;
  int height = defaultSize ? screen.cy * 3 / 4 : asked.bottom - asked.top;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

}  // namespace

HWND WindowLifecycle::create(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                             int x, int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param) {
  auto cls = ClassRegistry::instance().findForCreation(className, instance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (style & WS_CHILD) != 0;
  HWND owner = nullptr;
  std::shared_ptr<Window> parentWindow;
  if (parent && parent != manager().desktop()) {
    parentWindow = manager().find(parent);
    if (!parentWindow || !parentWindow->isAlive()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  // A child needs a parent; the desktop window is one, no parent at all is not.
  if (child && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (!child && parentWindow) {
    // A top-level window's "parent" is its owner, always a top-level window.
    auto top = parentWindow;
    while (top && manager().parentWindowOf(*top))
      top = manager().find(top->parent);
    owner = top ? top->handle() : nullptr;
  }

  // The platform's style adjustments: an overlapped window always has a
  // caption, frames imply the raised window edge.
  if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CLIPSIBLINGS | WS_CAPTION;
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME))) {
    exStyle |= WS_EX_WINDOWEDGE;
  }
  bool overlapped = !(style & (WS_CHILD | WS_POPUP));
  RECT asked{x, y, x + width, y + height};
  if (overlapped) {
    asked = defaultPlacement(x == CW_USEDEFAULT, width == CW_USEDEFAULT, asked);
    if (x != CW_USEDEFAULT && y == CW_USEDEFAULT) OffsetRect(&asked, 0, -asked.top);
  } else {
    if (x == CW_USEDEFAULT) asked = RECT{0, 0, asked.right - asked.left, asked.bottom - asked.top};
    if (width == CW_USEDEFAULT) asked.right = asked.left, asked.bottom = asked.top;
  }

  auto queue = MessageQueue::current();
  auto window = std::make_shared<Window>(cls, queue, GetCurrentThreadId());
  window->style = style & ~WS_VISIBLE;
  window->exStyle = exStyle;
  window->instance = instance;
  window->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
  window->owner = owner;
  HWND hwnd = manager().add(window, child ? parent : manager().desktop());
  if (!hwnd) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }

  if (WindowPlacement::asksMinMax(style)) {
    MINMAXINFO info = WindowPlacement::defaultMinMax(style, exStyle);
    Messenger::send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    int w = std::clamp<int>(asked.right - asked.left, info.ptMinTrackSize.x,
                            std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    int h = std::clamp<int>(asked.bottom - asked.top, info.ptMinTrackSize.y,
                            std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    asked.right = asked.left + w;
    asked.bottom = asked.top + h;
  }
  window->windowRect = asked;
  window->clientRect = asked;
  window->normalRect = asked;

  CREATESTRUCTW cs{param,
                   instance,
                   menu,
                   child ? parent : owner,
                   asked.bottom - asked.top,
                   asked.right - asked.left,
                   asked.top,
                   asked.left,
                   static_cast<LONG>(style),
                   windowName,
                   className,
                   exStyle};
  if (!Messenger::send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (manager().find(hwnd)) release(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!manager().find(hwnd)) return nullptr;
  RECT client = window->windowRect;
  Messenger::send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
  window->clientRect = client;
  if (!manager().find(hwnd)) return nullptr;
  if (Messenger::send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    destroy(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!manager().find(hwnd)) return nullptr;
  window->stage = Window::Stage::Alive;
  // Child and popup windows learn their size and place inside the creation,
  // shown or not; an overlapped window learns them when it is first shown.
  if (!overlapped) WindowPlacement::sendSizeAndMove(hwnd);
  if (!manager().find(hwnd)) return nullptr;
  if (child && !(exStyle & WS_EX_NOPARENTNOTIFY)) sendParentNotify(hwnd, WM_CREATE);
  if (!manager().find(hwnd)) return nullptr;
  if (style & WS_VISIBLE) {
    int command = (style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                  : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                          : SW_SHOW;
    window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    WindowPlacement::show(hwnd, command);
  }
  return manager().find(hwnd) ? hwnd : nullptr;
}

void WindowLifecycle::sendParentNotify(HWND hwnd, UINT event) {
  auto w = manager().find(hwnd);
  if (!w) return;
  LPARAM lParam = reinterpret_cast<LPARAM>(hwnd);
  WPARAM wParam = MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(w->id));
  // Up the chain while the window is a child that lets its parents know.
  while (w && w->isChild() && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
    HWND parent = w->parent;
    if (parent == manager().desktop()) break;
    Messenger::send(parent, WM_PARENTNOTIFY, wParam, lParam);
    w = manager().find(parent);
  }
}

bool WindowLifecycle::destroy(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w || hwnd == manager().desktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (!w->isAlive()) return true;  // already on its way
  if (w->isChild() && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) sendParentNotify(hwnd, WM_DESTROY);
  if (!manager().find(hwnd) || !w->isAlive()) return true;
  w->stage = Window::Stage::Destroying;

  // Only a child is told it is hidden (WM_SHOWWINDOW); hiding it also hands
  // a focus inside it to its parent.
  if (w->isVisible() && w->isChild()) {
    WindowPlacement::show(hwnd, SW_HIDE);
  } else if (w->isVisible()) {
    WindowPlacement::setPosition(
        hwnd, nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  if (!manager().find(hwnd)) return true;
  auto queue = MessageQueue::current();
  if (queue->input().active == hwnd) Activation::activateOther(hwnd);
  Activation::moveFocusOutOf(hwnd);

  // Owned windows go first.
  for (HWND top : manager().topLevelWindows()) {
    auto t = manager().find(top);
    if (t && t->owner == hwnd && t->onCurrentThread()) destroy(top);
  }
  sendDestroy(hwnd);
  // The capture is given up between WM_DESTROY and WM_NCDESTROY.
  Activation::releaseCaptureWithin(hwnd);
  release(hwnd);
  return true;
}

void WindowLifecycle::sendDestroy(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  w->stage = Window::Stage::Destroying;
  Messenger::send(hwnd, WM_DESTROY, 0, 0);
  for (HWND child : manager().children(hwnd))
    sendDestroy(child);
}

void WindowLifecycle::release(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  w->stage = Window::Stage::Destroying;
  for (std::vector<HWND> children = manager().children(hwnd); !children.empty();
       children = manager().children(hwnd)) {
    release(children.front());
  }
  Messenger::send(hwnd, WM_NCDESTROY, 0, 0);
  bool topLevel = w->parent == manager().desktop();
  w->validateAll();
  if (w->queue()) w->queue()->forgetWindow(hwnd);
  w->stage = Window::Stage::Gone;
  manager().remove(*w);
  if (topLevel) CurrentDisplay().windowDestroyed(hwnd);
}

}  // namespace platform::internal

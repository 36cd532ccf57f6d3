#include "internal/Activation.h"

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

HWND rootOf(HWND hwnd) {
  auto w = manager().find(hwnd);
  while (w && w->isChild()) {
    auto parent = manager().find(w->parent);
    if (!parent || parent->handle() == manager().desktop()) break;
    w = parent;
  }
  return w ? w->handle() : nullptr;
}

bool isMinimized(HWND hwnd) {
  auto w = manager().find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

}  // namespace

bool Activation::canBeActive(HWND hwnd, HWND except) {
  auto w = manager().find(hwnd);
  return w && hwnd != except && w->isAlive() && !w->isChild() && w->isVisible() &&
         !w->isDisabled() && w->onCurrentThread() && !(w->exStyle & WS_EX_NOACTIVATE);
}

HWND Activation::setFocus(HWND hwnd) {
  auto queue = MessageQueue::current();
  ThreadInput& input = queue->input();
  HWND previous = input.focus;
  if (!hwnd) {
    input.focus = nullptr;
    if (previous) Messenger::send(previous, WM_KILLFOCUS, 0, 0);
    return previous;
  }
  auto w = manager().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  for (auto a = w; a && a->handle() != manager().desktop(); a = manager().find(a->parent)) {
    if (a->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
    if (!a->isChild()) break;
  }
  HWND top = rootOf(hwnd);
  if (top != input.active) {
    setActive(top, WA_ACTIVE);
    if (input.active != top || !manager().find(hwnd)) return nullptr;
  }
  previous = input.focus;
  if (previous == hwnd) return previous;
  input.focus = hwnd;
  if (previous && manager().find(previous)) {
    Messenger::send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (input.focus != hwnd) return previous;  // moved again meanwhile
  }
  Messenger::send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND Activation::setActive(HWND hwnd, WORD how) {
  auto queue = MessageQueue::current();
  ThreadInput& input = queue->input();
  HWND previous = input.active;
  if (previous == hwnd) return previous;
  if (hwnd) {
    auto w = manager().find(hwnd);
    if (!w || w->isChild() || !w->onCurrentThread()) {
      SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  if (previous && manager().find(previous)) {
    Messenger::send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
    Messenger::send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, isMinimized(previous)),
                    reinterpret_cast<LPARAM>(hwnd));
  }
  input.active = hwnd;
  DWORD me = GetCurrentThreadId();
  DWORD foregroundThread = manager().foregroundThread();
  if (!hwnd) {
    if (foregroundThread == me) {
      manager().setForeground(nullptr, 0);
      for (HWND top : manager().topLevelWindows()) {
        auto t = manager().find(top);
        if (t && t->onCurrentThread()) Messenger::send(top, WM_ACTIVATEAPP, FALSE, 0);
      }
    }
    if (input.focus) setFocus(nullptr);
    return previous;
  }
  manager().setForeground(hwnd, me);
  WindowPlacement::bringToTop(hwnd);
  if (input.active != hwnd) return previous;
  if (foregroundThread != me) {
    for (HWND top : manager().topLevelWindows()) {
      auto t = manager().find(top);
      if (t && t->onCurrentThread()) {
        Messenger::send(top, WM_ACTIVATEAPP, TRUE, static_cast<LPARAM>(foregroundThread));
      }
    }
  }
  if (input.active != hwnd) return previous;
  Messenger::send(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
  if (input.active != hwnd) return previous;
  Messenger::send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, isMinimized(hwnd)),
                  reinterpret_cast<LPARAM>(previous));
  if (input.active == hwnd) CurrentDisplay().windowActivated(hwnd);
  return previous;
}

void Activation::activateOther(HWND hwnd) {
  HWND owner = manager().ownerOf(hwnd);
  if (canBeActive(owner, hwnd)) {
    setActive(owner, WA_ACTIVE);
    return;
  }
  for (HWND top : manager().topLevelWindows()) {
    if (canBeActive(top, hwnd)) {
      setActive(top, WA_ACTIVE);
      return;
    }
  }
  setActive(nullptr, WA_INACTIVE);
}

HWND Activation::setCapture(HWND hwnd) {
  auto queue = MessageQueue::current();
  ThreadInput& input = queue->input();
  auto w = manager().find(hwnd);
  if (!w || !w->onCurrentThread()) {
    SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HWND previous = input.capture;
  input.capture = hwnd;
  manager().setCapture(hwnd);
  if (previous && previous != hwnd && manager().find(previous)) {
    Messenger::send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  }
  return previous;
}

bool Activation::releaseCapture() {
  auto queue = MessageQueue::current();
  ThreadInput& input = queue->input();
  HWND previous = input.capture;
  if (!previous) return true;
  input.capture = nullptr;
  if (manager().capture() == previous) manager().setCapture(nullptr);
  if (manager().find(previous)) Messenger::send(previous, WM_CAPTURECHANGED, 0, 0);
  return true;
}

bool Activation::holds(HWND hwnd, HWND holder) {
  return holder && (holder == hwnd || manager().isDescendant(hwnd, holder));
}

void Activation::moveFocusOutOf(HWND hwnd) {
  ThreadInput& input = MessageQueue::current()->input();
  if (!holds(hwnd, input.focus)) return;
  auto w = manager().find(hwnd);
  HWND parent = w && w->isChild() ? w->parent : nullptr;
  if (parent && parent != manager().desktop()) setFocus(parent);
  // A parent that cannot take the focus (disabled, minimized) leaves none.
  if (holds(hwnd, input.focus)) setFocus(nullptr);
}

void Activation::releaseCaptureWithin(HWND hwnd) {
  ThreadInput& input = MessageQueue::current()->input();
  if (holds(hwnd, input.capture)) releaseCapture();
}

}  // namespace platform::internal

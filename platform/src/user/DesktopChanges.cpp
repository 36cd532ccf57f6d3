#include "internal/DesktopChanges.h"

#include "internal/Activation.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/display.h"

namespace platform::internal {
namespace {

// The window a click on hwnd activates: hwnd itself, or while a modal box
// keeps it disabled, that box.
HWND activationTarget(HWND hwnd) {
  if (IsWindowEnabled(hwnd)) return hwnd;
  return GetWindow(hwnd, GW_ENABLEDPOPUP);
}

}  // namespace

void DesktopChanges::place(HWND hwnd, const RECT& windowRect) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w || w->isChild() || !w->onCurrentThread() || (w->style & WS_MINIMIZE)) return;
  RECT current{};
  GetWindowRect(hwnd, &current);
  if (EqualRect(&current, &windowRect)) return;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (current.left == windowRect.left && current.top == windowRect.top) flags |= SWP_NOMOVE;
  if (current.right - current.left == windowRect.right - windowRect.left &&
      current.bottom - current.top == windowRect.bottom - windowRect.top) {
    flags |= SWP_NOSIZE;
  }
  WindowPlacement::setPosition(hwnd, nullptr, windowRect.left, windowRect.top,
                               windowRect.right - windowRect.left,
                               windowRect.bottom - windowRect.top, flags);
}

void DesktopChanges::activate(HWND hwnd, bool active) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w || w->isChild() || !w->onCurrentThread()) return;
  if (!active) {
    if (GetActiveWindow() == hwnd) Activation::setActive(nullptr, WA_INACTIVE);
    return;
  }
  HWND target = activationTarget(hwnd);
  if (!target || !IsWindowVisible(target)) return;
  if (GetActiveWindow() != target) {
    Activation::setActive(target, WA_ACTIVE);
    return;
  }
  // The desktop focused a window the platform does not let have it (a box's
  // disabled owner): the desktop is asked again for the active one.
  if (target != hwnd) CurrentDisplay().windowActivated(target);
}

}  // namespace platform::internal

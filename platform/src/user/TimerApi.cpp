// SetTimer and KillTimer over the thread's TimerTable.
#include "platform/user.h"

#include "internal/MessageQueue.h"
#include "internal/WindowManager.h"
#include "platform/clock.h"
#include "platform/kernel.h"

using platform::internal::MessageQueue;
using platform::internal::WindowManager;

namespace {

// A window timer belongs to the window's thread, which must be the caller.
bool ownWindow(HWND hwnd) {
  if (!hwnd) return true;
  auto w = WindowManager::instance().find(hwnd);
  if (!w || !w->isAlive()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (!ownWindow(hwnd)) return 0;
  auto queue = MessageQueue::current();
  UINT_PTR result = queue->timers().set(hwnd, id, elapseMs, proc, platform::CurrentClock().nowMs());
  queue->wake();  // a waiting loop recomputes its time-out
  return hwnd && id == 0 ? 1 : result;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!ownWindow(hwnd)) return FALSE;
  if (!MessageQueue::current()->timers().kill(hwnd, id)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

#include "internal/Messenger.h"

#include "internal/MessageQueue.h"
#include "internal/WindowManager.h"
#include "platform/clock.h"
#include "platform/kernel.h"

namespace platform::internal {
namespace {

MSG makeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{hwnd, message, wParam, lParam, GetTickCount(), WindowManager::instance().cursorPos(),
             0};
}

std::shared_ptr<Window> windowOrFail(HWND hwnd) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

}  // namespace

LRESULT Messenger::call(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = window.procedure;
  return procedure(window.handle(), message, wParam, lParam);
}

LRESULT Messenger::send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                        std::optional<UINT> timeoutMs, bool* ok) {
  if (ok) *ok = false;
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : WindowManager::instance().topLevelWindows()) {
      send(top, message, wParam, lParam, timeoutMs);
    }
    if (ok) *ok = true;
    return 0;
  }
  auto w = windowOrFail(hwnd);
  if (!w) return 0;
  if (!w->queue() || w->onCurrentThread()) {
    if (ok) *ok = true;
    return call(*w, message, wParam, lParam);
  }
  auto me = MessageQueue::current();
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->replyTo = me;
  if (!w->queue()->pushSent(sent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::optional<uint64_t> deadline;
  if (timeoutMs) deadline = CurrentClock().nowMs() + *timeoutMs;
  if (!me->waitForReply(*sent, deadline)) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  if (ok) *ok = true;
  return sent->result;
}

bool Messenger::sendNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto w = windowOrFail(hwnd);
  if (!w) return false;
  if (!w->queue() || w->onCurrentThread()) {
    call(*w, message, wParam, lParam);
    return true;
  }
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  return w->queue()->pushSent(std::move(sent));
}

bool Messenger::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return postToThread(GetCurrentThreadId(), message, wParam, lParam);
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : WindowManager::instance().topLevelWindows()) {
      post(top, message, wParam, lParam);
    }
    return true;
  }
  auto w = windowOrFail(hwnd);
  if (!w) return false;
  if (!w->queue()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return w->queue()->post(makeMessage(hwnd, message, wParam, lParam));
}

bool Messenger::postToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue =
      threadId == GetCurrentThreadId() ? MessageQueue::current() : MessageQueue::ofThread(threadId);
  if (!queue) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  return queue->post(makeMessage(nullptr, message, wParam, lParam));
}

}  // namespace platform::internal

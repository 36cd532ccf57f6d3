// Input state and metrics functions of user.h.
#include "platform/user.h"

#include <algorithm>

#include "internal/MessageQueue.h"
#include "internal/NonClientMetrics.h"
#include "internal/WindowManager.h"
#include "platform/display.h"

using platform::internal::MessageQueue;
using platform::internal::NonClientMetrics;
using platform::internal::WindowManager;

SHORT GetKeyState(int virtualKey) {
  auto queue = MessageQueue::current();
  BYTE state = queue->input().keys[static_cast<size_t>(virtualKey) & 0xFF];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
  BYTE state = WindowManager::instance().asyncKey(virtualKey);
  return static_cast<SHORT>((state & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState) return FALSE;
  auto& keys = MessageQueue::current()->input().keys;
  std::copy(keys.begin(), keys.end(), keyState);
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = WindowManager::instance().cursorPos();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  SIZE screen = platform::CurrentDisplay().screenSize();
  POINT point{std::clamp(x, 0, std::max<int>(screen.cx - 1, 0)),
              std::clamp(y, 0, std::max<int>(screen.cy - 1, 0))};
  platform::CurrentDisplay().cursorMoved(point);
  platform::InjectMouseMove(point);
  return TRUE;
}

UINT GetDoubleClickTime() {
  return 500;
}

int GetSystemMetrics(int index) {
  return NonClientMetrics::metric(index);
}

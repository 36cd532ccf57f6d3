// Input from a driver, routed to the queue of the thread whose window it
// reaches. Only queues: the messages are made when that thread takes them.
#include "platform/display.h"

#include "internal/InputTranslator.h"
#include "internal/MessageQueue.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/kernel.h"

namespace platform {
namespace {

using internal::InputTranslator;
using internal::MessageQueue;
using internal::RawInput;
using internal::WindowManager;
using internal::WindowPlacement;

std::shared_ptr<MessageQueue> queueOf(HWND hwnd) {
  auto w = WindowManager::instance().find(hwnd);
  return w ? w->queue() : nullptr;
}

std::shared_ptr<MessageQueue> pointerQueue(POINT point) {
  auto& manager = WindowManager::instance();
  if (auto queue = queueOf(manager.capture())) return queue;
  return queueOf(WindowPlacement::windowFromPoint(point));
}

std::shared_ptr<MessageQueue> keyboardQueue() {
  return queueOf(WindowManager::instance().foreground());
}

RawInput makeInput(RawInput::Kind kind) {
  RawInput raw{};
  raw.kind = kind;
  raw.point = WindowManager::instance().cursorPos();
  raw.mouseKeys = InputTranslator::mouseKeys();
  raw.alt = (WindowManager::instance().asyncKey(VK_MENU) & 0x80) != 0;
  raw.control = (WindowManager::instance().asyncKey(VK_CONTROL) & 0x80) != 0;
  raw.time = GetTickCount();
  return raw;
}

int buttonKey(MouseButton button) {
  switch (button) {
    case MouseButton::Left:
      return VK_LBUTTON;
    case MouseButton::Right:
      return VK_RBUTTON;
    case MouseButton::Middle:
      return VK_MBUTTON;
    case MouseButton::X1:
      return VK_XBUTTON1;
    case MouseButton::X2:
      return VK_XBUTTON2;
  }
  return VK_LBUTTON;
}

}  // namespace

void InjectMouseMove(POINT screenPoint) {
  POINT current = WindowManager::instance().cursorPos();
  if (current.x == screenPoint.x && current.y == screenPoint.y) return;  // no movement
  WindowManager::instance().setCursorPos(screenPoint);
  RawInput raw = makeInput(RawInput::Kind::MouseMove);
  if (auto queue = pointerQueue(screenPoint)) queue->pushInput(raw);
}

void InjectMouseButton(MouseButton button, bool down) {
  int key = buttonKey(button);
  auto& manager = WindowManager::instance();
  bool wasDown = (manager.asyncKey(key) & 0x80) != 0;
  manager.setAsyncKey(key, down);
  RawInput raw = makeInput(RawInput::Kind::MouseButton);
  raw.code = key;
  raw.down = down;
  raw.wasDown = wasDown;
  if (auto queue = pointerQueue(raw.point)) queue->pushInput(raw);
}

void InjectMouseWheel(int delta, bool horizontal) {
  RawInput raw = makeInput(RawInput::Kind::Wheel);
  raw.delta = delta;
  raw.horizontal = horizontal;
  if (auto queue = keyboardQueue()) queue->pushInput(raw);
}

void InjectKey(int virtualKey, bool down) {
  auto& manager = WindowManager::instance();
  bool wasDown = (manager.asyncKey(virtualKey) & 0x80) != 0;
  manager.setAsyncKey(virtualKey, down);
  if (virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT) manager.setAsyncKey(VK_SHIFT, down);
  if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL) manager.setAsyncKey(VK_CONTROL, down);
  if (virtualKey == VK_LMENU || virtualKey == VK_RMENU) manager.setAsyncKey(VK_MENU, down);
  RawInput raw = makeInput(RawInput::Kind::Key);
  raw.code = virtualKey;
  raw.down = down;
  raw.wasDown = wasDown;
  if (auto queue = keyboardQueue()) queue->pushInput(raw);
}

void InjectChar(char16_t ch) {
  RawInput raw = makeInput(RawInput::Kind::Char);
  raw.code = ch;
  if (auto queue = keyboardQueue()) queue->pushInput(raw);
}

void InjectWindowPlacement(HWND hwnd, const RECT& windowRect) {
  RawInput raw = makeInput(RawInput::Kind::Placement);
  raw.window = hwnd;
  raw.rect = windowRect;
  if (auto queue = queueOf(hwnd)) queue->pushInput(raw);
}

void InjectActivation(HWND hwnd, bool active) {
  RawInput raw = makeInput(RawInput::Kind::Activation);
  raw.window = hwnd;
  raw.down = active;
  if (auto queue = queueOf(hwnd)) queue->pushInput(raw);
}

}  // namespace platform

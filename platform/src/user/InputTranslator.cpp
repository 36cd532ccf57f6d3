#include "internal/InputTranslator.h"

#include <cstdlib>

#include "internal/Activation.h"
#include "internal/DesktopChanges.h"
#include "internal/Messenger.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

LPARAM pointParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)),
                    static_cast<WORD>(static_cast<SHORT>(p.y)));
}

// Client and non-client message numbers of one button: down, up, double click.
struct ButtonMessages {
  UINT down, up, doubleClick, ncDown, ncUp, ncDoubleClick;
};

ButtonMessages buttonMessages(int virtualKey) {
  switch (virtualKey) {
    case VK_RBUTTON:
      return {WM_RBUTTONDOWN,   WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
              WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK};
    case VK_MBUTTON:
      return {WM_MBUTTONDOWN,   WM_MBUTTONUP,   WM_MBUTTONDBLCLK,
              WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK};
    case VK_XBUTTON1:
    case VK_XBUTTON2:
      return {WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK,
              WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK};
    default:
      return {WM_LBUTTONDOWN,   WM_LBUTTONUP,   WM_LBUTTONDBLCLK,
              WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK};
  }
}

bool isButtonDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDBLCLK:
      return true;
  }
  return false;
}

// The client button-down message a press stands for in WM_PARENTNOTIFY, for
// double and non-client clicks too.
UINT pressOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      return WM_RBUTTONDOWN;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      return WM_MBUTTONDOWN;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      return WM_XBUTTONDOWN;
  }
  return WM_LBUTTONDOWN;
}

// A press on a child window tells its parents, each with the point in its own
// client coordinates, up the chain while the windows let them know.
void notifyParentsOfPress(const MSG& msg, int virtualKey) {
  UINT press = pressOf(msg.message);
  WORD button = press == WM_XBUTTONDOWN ? (virtualKey == VK_XBUTTON1 ? 1 : 2) : 0;
  for (auto w = manager().find(msg.hwnd);
       w && manager().parentWindowOf(*w) && !(w->exStyle & WS_EX_NOPARENTNOTIFY);
       w = manager().find(w->parent)) {
    POINT point = msg.pt;
    ScreenToClient(w->parent, &point);
    Messenger::send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(press), button),
                    pointParam(point));
  }
}

}  // namespace

WPARAM InputTranslator::mouseKeys() {
  auto& m = manager();
  WPARAM keys = 0;
  if (m.asyncKey(VK_LBUTTON) & 0x80) keys |= MK_LBUTTON;
  if (m.asyncKey(VK_RBUTTON) & 0x80) keys |= MK_RBUTTON;
  if (m.asyncKey(VK_MBUTTON) & 0x80) keys |= MK_MBUTTON;
  if (m.asyncKey(VK_XBUTTON1) & 0x80) keys |= MK_XBUTTON1;
  if (m.asyncKey(VK_XBUTTON2) & 0x80) keys |= MK_XBUTTON2;
  if (m.asyncKey(VK_SHIFT) & 0x80) keys |= MK_SHIFT;
  if (m.asyncKey(VK_CONTROL) & 0x80) keys |= MK_CONTROL;
  return keys;
}

UINT InputTranslator::scanCode(int vk) {
  static constexpr char kLetters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
  static constexpr UINT kLetterScans[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,
                                          0x19, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                                          0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
  for (int i = 0; kLetters[i]; ++i) {
    if (vk == kLetters[i]) return kLetterScans[i];
  }
  if (vk >= '1' && vk <= '9') return static_cast<UINT>(vk - '1' + 0x02);
  if (vk >= VK_F1 && vk <= VK_F1 + 9) return static_cast<UINT>(vk - VK_F1 + 0x3B);
  switch (vk) {
    case '0':
      return 0x0B;
    case VK_ESCAPE:
      return 0x01;
    case VK_BACK:
      return 0x0E;
    case VK_TAB:
      return 0x0F;
    case VK_RETURN:
      return 0x1C;
    case VK_CONTROL:
      return 0x1D;
    case VK_SHIFT:
      return 0x2A;
    case VK_MENU:
      return 0x38;
    case VK_SPACE:
      return 0x39;
    case VK_LEFT:
      return 0x4B;
    case VK_RIGHT:
      return 0x4D;
    case VK_UP:
      return 0x48;
    case VK_DOWN:
      return 0x50;
    case VK_DELETE:
      return 0x53;
    case VK_HOME:
      return 0x47;
    case VK_END:
      return 0x4F;
  }
  return 0;
}

std::optional<MSG> InputTranslator::cook(MessageQueue& queue, const RawInput& raw) {
  switch (raw.kind) {
    case RawInput::Kind::MouseMove:
    case RawInput::Kind::MouseButton:
      return cookMouse(queue, raw);
    case RawInput::Kind::Wheel: {
      ThreadInput& input = queue.input();
      HWND target = input.focus ? input.focus : input.active;
      if (!target) return std::nullopt;
      UINT message = raw.horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
      WPARAM wParam = MAKEWPARAM(static_cast<WORD>(raw.mouseKeys), static_cast<WORD>(raw.delta));
      return MSG{target, message, wParam, pointParam(raw.point), raw.time, raw.point, 0};
    }
    case RawInput::Kind::Key:
    case RawInput::Kind::Char:
      return cookKey(queue, raw);
    case RawInput::Kind::Placement:
      DesktopChanges::place(raw.window, raw.rect);
      return std::nullopt;
    case RawInput::Kind::Activation:
      DesktopChanges::activate(raw.window, raw.down);
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<MSG> InputTranslator::cookMouse(MessageQueue& queue, const RawInput& raw) {
  ThreadInput& input = queue.input();
  HWND hwnd = input.capture && manager().find(input.capture) ? input.capture : nullptr;
  LRESULT hit = HTCLIENT;
  if (!hwnd) {
    hwnd = WindowPlacement::windowFromPoint(raw.point);
    if (!hwnd) return std::nullopt;
    hit = Messenger::send(hwnd, WM_NCHITTEST, 0, pointParam(raw.point));
    // A transparent window lets its parent take the pointer.
    while (hit == HTTRANSPARENT) {
      auto w = manager().find(hwnd);
      if (!w || !manager().parentWindowOf(*w)) return std::nullopt;
      hwnd = w->parent;
      hit = Messenger::send(hwnd, WM_NCHITTEST, 0, pointParam(raw.point));
    }
  }
  auto w = manager().find(hwnd);
  if (!w) return std::nullopt;
  bool client = hit == HTCLIENT;
  UINT message;
  if (raw.kind == RawInput::Kind::MouseMove) {
    message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
  } else {
    ButtonMessages m = buttonMessages(raw.code);
    message = raw.down ? (client ? m.down : m.ncDown) : (client ? m.up : m.ncUp);
    if (raw.down) {
      bool allowsDoubleClick = !client || (w->windowClass().style() & CS_DBLCLKS);
      bool repeat =
          input.lastClickMessage == message && input.lastClickWindow == hwnd &&
          raw.time - input.lastClickTime <= GetDoubleClickTime() &&
          std::abs(raw.point.x - input.lastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
          std::abs(raw.point.y - input.lastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      if (allowsDoubleClick && repeat) {
        input.lastClickMessage = 0;
        message = client ? m.doubleClick : m.ncDoubleClick;
      } else {
        input.lastClickMessage = message;
        input.lastClickWindow = hwnd;
        input.lastClickTime = raw.time;
        input.lastClickPoint = raw.point;
      }
    }
  }
  if (!input.capture) {
    Messenger::send(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                    MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    if (!manager().find(hwnd)) return std::nullopt;
  }
  WPARAM wParam = client ? raw.mouseKeys : static_cast<WPARAM>(hit);
  if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP || message == WM_XBUTTONDBLCLK) {
    wParam = MAKEWPARAM(static_cast<WORD>(raw.mouseKeys), raw.code == VK_XBUTTON1 ? 1 : 2);
  }
  POINT where = raw.point;
  if (client) ScreenToClient(hwnd, &where);
  return MSG{hwnd, message, wParam, pointParam(where), raw.time, raw.point, 0};
}

std::optional<MSG> InputTranslator::cookKey(MessageQueue& queue, const RawInput& raw) {
  ThreadInput& input = queue.input();
  HWND target = input.focus && manager().find(input.focus) ? input.focus : nullptr;
  bool system = !target;
  if (!target) target = input.active;
  if (!target || !manager().find(target)) return std::nullopt;
  if (raw.kind == RawInput::Kind::Char) {
    return MSG{target, WM_CHAR, static_cast<WPARAM>(raw.code), 1, raw.time, raw.point, 0};
  }
  bool alt = raw.alt;
  bool control = raw.control;
  if ((alt && !control) || raw.code == VK_F10 || raw.code == VK_MENU) system = true;
  UINT message =
      raw.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  bool extended = raw.code == VK_RCONTROL || raw.code == VK_RMENU ||
                  (raw.code >= VK_PRIOR && raw.code <= VK_DOWN) || raw.code == VK_INSERT ||
                  raw.code == VK_DELETE || raw.code == VK_DIVIDE || raw.code == VK_NUMLOCK;
  DWORD lParam = 1 | (scanCode(raw.code) << 16) | (extended ? 1u << 24 : 0) |
                 (alt && !control ? 1u << 29 : 0) | (raw.wasDown ? 1u << 30 : 0) |
                 (raw.down ? 0 : 1u << 31);
  return MSG{
      target,    message, static_cast<WPARAM>(raw.code), static_cast<LPARAM>(lParam), raw.time,
      raw.point, 0};
}

bool InputTranslator::remove(MessageQueue& queue, const RawInput& raw, const MSG& msg) {
  ThreadInput& input = queue.input();
  auto setKey = [&](int vk, bool down) {
    BYTE& state = input.keys[static_cast<size_t>(vk) & 0xFF];
    if (down && !(state & 0x80)) state ^= 0x01;
    state = static_cast<BYTE>((state & 0x01) | (down ? 0x80 : 0));
  };
  if (raw.kind == RawInput::Kind::Key) {
    setKey(raw.code, raw.down);
    if (raw.code == VK_LSHIFT || raw.code == VK_RSHIFT) setKey(VK_SHIFT, raw.down);
    if (raw.code == VK_LCONTROL || raw.code == VK_RCONTROL) setKey(VK_CONTROL, raw.down);
    if (raw.code == VK_LMENU || raw.code == VK_RMENU) setKey(VK_MENU, raw.down);
    return true;
  }
  if (raw.kind != RawInput::Kind::MouseButton) return true;
  setKey(raw.code, raw.down);
  if (!isButtonDown(msg.message)) return true;
  notifyParentsOfPress(msg, raw.code);
  if (!manager().find(msg.hwnd)) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  auto topWindow = manager().find(top);
  if (!topWindow || top == input.active || (topWindow->exStyle & WS_EX_NOACTIVATE)) return true;
  LRESULT hit = (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK)
                    ? static_cast<LRESULT>(msg.wParam)
                    : HTCLIENT;
  LRESULT answer =
      Messenger::send(msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                      MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg.message)));
  if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
    Activation::setActive(top, WA_CLICKACTIVE);
  }
  return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT &&
         manager().find(msg.hwnd) != nullptr;
}

}  // namespace platform::internal

// Message and queue functions of user.h, thin over MessageQueue and Messenger.
#include "platform/user.h"

#include <vector>

#include "internal/InputTranslator.h"
#include "internal/MessageQueue.h"
#include "internal/Messenger.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/display.h"
#include "platform/kernel.h"

using platform::internal::MessageQueue;
using platform::internal::Messenger;
using platform::internal::Window;
using platform::internal::WindowManager;
using platform::internal::WindowPlacement;

namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

bool validFilter(HWND hwnd) {
  if (!hwnd || hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) return true;
  if (manager().find(hwnd)) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

// The character a key makes on a US keyboard, or 0.
char16_t characterOf(int vk, bool shift, bool capsLock, bool control) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return static_cast<char16_t>(vk - 'A' + 1);
    bool upper = shift != capsLock;
    return static_cast<char16_t>(upper ? vk : vk + 32);
  }
  if (control) {
    switch (vk) {
      case VK_OEM_4:
        return 0x1B;
      case VK_OEM_5:
        return 0x1C;
      case VK_OEM_6:
        return 0x1D;
      case VK_RETURN:
        return 0x0A;
      case VK_BACK:
        return 0x7F;
    }
    return 0;
  }
  if (vk >= '0' && vk <= '9') {
    static constexpr char16_t kShifted[] = u")!@#$%^&*(";
    return shift ? kShifted[vk - '0'] : static_cast<char16_t>(vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<char16_t>(u'0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return u' ';
    case VK_RETURN:
      return u'\r';
    case VK_TAB:
      return u'\t';
    case VK_BACK:
      return 0x08;
    case VK_ESCAPE:
      return 0x1B;
    case VK_MULTIPLY:
      return u'*';
    case VK_ADD:
      return u'+';
    case VK_SUBTRACT:
      return u'-';
    case VK_DECIMAL:
      return u'.';
    case VK_DIVIDE:
      return u'/';
    case VK_OEM_1:
      return shift ? u':' : u';';
    case VK_OEM_PLUS:
      return shift ? u'+' : u'=';
    case VK_OEM_COMMA:
      return shift ? u'<' : u',';
    case VK_OEM_MINUS:
      return shift ? u'_' : u'-';
    case VK_OEM_PERIOD:
      return shift ? u'>' : u'.';
    case VK_OEM_2:
      return shift ? u'?' : u'/';
    case VK_OEM_3:
      return shift ? u'~' : u'`';
    case VK_OEM_4:
      return shift ? u'{' : u'[';
    case VK_OEM_5:
      return shift ? u'|' : u'\\';
    case VK_OEM_6:
      return shift ? u'}' : u']';
    case VK_OEM_7:
      return shift ? u'"' : u'\'';
  }
  return 0;
}

}  // namespace

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Messenger::send(hwnd, message, wParam, lParam);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT,
                            UINT timeoutMs, DWORD_PTR* result) {
  bool ok = false;
  LRESULT answer = Messenger::send(hwnd, message, wParam, lParam, timeoutMs, &ok);
  if (result) *result = static_cast<DWORD_PTR>(answer);
  return ok ? TRUE : FALSE;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Messenger::sendNotify(hwnd, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Messenger::post(hwnd, message, wParam, lParam);
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  return Messenger::postToThread(threadId, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  MessageQueue::current()->postQuit(exitCode);
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!validFilter(hwnd)) return -1;
  MessageQueue::current()->receive(msg, hwnd, filterMin, filterMax, PM_REMOVE, true);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!validFilter(hwnd)) return FALSE;
  return MessageQueue::current()->receive(msg, hwnd, filterMin, filterMax, removeFlags, false);
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!PeekMessageW(msg, hwnd, filterMin, filterMax, removeFlags)) return FALSE;
  bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR ||
                   msg->message == WM_DEADCHAR || msg->message == WM_SYSDEADCHAR;
  if (character && msg->wParam > 0x7F) {
    auto wide = static_cast<char16_t>(msg->wParam);
    char narrow = '?';
    WideCharToMultiByte(CP_ACP, 0, &wide, 1, &narrow, 1, nullptr, nullptr);
    msg->wParam = static_cast<unsigned char>(narrow);
  }
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    // Only the procedure of a live timer runs: a killed timer's is not called.
    if (!MessageQueue::current()->timers().hasProcedure(msg->hwnd, msg->wParam, proc)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  auto w = manager().find(msg->hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return 0;
  }
  return Messenger::call(*w, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  bool system = msg->message == WM_SYSKEYDOWN;
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0 && !system;
  bool capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
  char16_t ch = characterOf(static_cast<int>(msg->wParam), shift, capsLock, control);
  // A driver that supplies typed text sends the printable characters itself.
  if (ch >= 0x20 && ch != 0x7F && platform::CurrentDisplay().suppliesText()) return TRUE;
  if (ch) {
    PostMessageW(msg->hwnd, system ? WM_SYSCHAR : WM_CHAR, ch, msg->lParam);
  }
  return TRUE;
}

BOOL WaitMessage() {
  MessageQueue::current()->waitForMessages(INFINITE, QS_ALLINPUT);
  return TRUE;
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE*, DWORD timeoutMs, DWORD wakeMask,
                                  DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return MessageQueue::current()->waitForMessages(timeoutMs, wakeMask);
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL, DWORD timeoutMs,
                                DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, handles, timeoutMs, wakeMask, 0);
}

DWORD GetQueueStatus(UINT flags) {
  UINT kinds = MessageQueue::current()->availableKinds(flags);
  return (kinds << 16) | kinds;
}

DWORD GetMessageTime() {
  auto queue = MessageQueue::currentIfAny();
  return queue ? queue->lastMessage().time : 0;
}

DWORD GetMessagePos() {
  auto queue = MessageQueue::currentIfAny();
  if (!queue) return 0;
  POINT p = queue->lastMessage().pt;
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

// Window functions of user.h, thin over the window manager's classes.
#include "platform/user.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "internal/Activation.h"
#include "internal/MessageQueue.h"
#include "internal/Messenger.h"
#include "internal/NonClientMetrics.h"
#include "internal/WindowLifecycle.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/display.h"
#include "platform/kernel.h"

using platform::internal::Activation;
using platform::internal::MessageQueue;
using platform::internal::Messenger;
using platform::internal::NonClientMetrics;
using platform::internal::Window;
using platform::internal::WindowLifecycle;
using platform::internal::WindowManager;
using platform::internal::WindowPlacement;

namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

std::shared_ptr<Window> windowOrFail(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

// Reads a GWL_* / GWLP_* field or extra bytes; false for a bad index.
bool readLong(const Window& w, int index, size_t size, LONG_PTR* value) {
  switch (index) {
    case GWL_STYLE:
      *value = static_cast<LONG>(w.style);
      return true;
    case GWL_EXSTYLE:
      *value = static_cast<LONG>(w.exStyle);
      return true;
    case GWLP_USERDATA:
      *value = w.userData;
      return true;
    case GWLP_ID:
      *value = w.id;
      return true;
    case GWLP_WNDPROC:
      *value = reinterpret_cast<LONG_PTR>(w.procedure);
      return size == sizeof(LONG_PTR);
    case GWLP_HINSTANCE:
      *value = reinterpret_cast<LONG_PTR>(w.instance);
      return size == sizeof(LONG_PTR);
    case GWLP_HWNDPARENT:
      *value = reinterpret_cast<LONG_PTR>(w.isChild() ? w.parent : w.owner);
      return true;
  }
  return w.readExtra(index, size, value);
}

LONG_PTR changeStyle(HWND hwnd, Window& w, int index, DWORD value) {
  DWORD old = index == GWL_STYLE ? w.style : w.exStyle;
  STYLESTRUCT change{old, value};
  Messenger::send(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index),
                  reinterpret_cast<LPARAM>(&change));
  if (!manager().find(hwnd)) return static_cast<LONG>(old);
  (index == GWL_STYLE ? w.style : w.exStyle) = change.styleNew;
  // Taking the layered style away drops the window's layering attributes.
  if (index == GWL_EXSTYLE && !(change.styleNew & WS_EX_LAYERED)) w.layered.reset();
  change.styleOld = old;
  Messenger::send(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index),
                  reinterpret_cast<LPARAM>(&change));
  return static_cast<LONG>(old);
}

LONG_PTR writeLong(HWND hwnd, int index, size_t size, LONG_PTR value) {
  auto w = windowOrFail(hwnd);
  if (!w) return 0;
  LONG_PTR previous = 0;
  if (!readLong(*w, index, size, &previous)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  SetLastError(0);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
      return changeStyle(hwnd, *w, index, static_cast<DWORD>(value));
    case GWLP_USERDATA:
      w->userData = value;
      return previous;
    case GWLP_ID:
      w->id = value;
      return previous;
    case GWLP_WNDPROC:
      if (!value) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      w->procedure = reinterpret_cast<WNDPROC>(value);
      return previous;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return previous;
    case GWLP_HWNDPARENT:
      if (w->isChild())
        return reinterpret_cast<LONG_PTR>(SetParent(hwnd, reinterpret_cast<HWND>(value)));
      manager().setOwner(hwnd, GetAncestor(reinterpret_cast<HWND>(value), GA_ROOT));
      return previous;
  }
  w->writeExtra(index, size, value, &previous);
  return previous;
}

LONG_PTR readLongOrFail(HWND hwnd, int index, size_t size) {
  auto w = windowOrFail(hwnd);
  if (!w) return 0;
  LONG_PTR value = 0;
  if (!readLong(*w, index, size, &value)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return value;
}

}  // namespace

DWORD GetCurrentThreadId() {
  thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  return WindowLifecycle::create(exStyle, className, windowName, style, x, y, width, height, parent,
                                 menu, instance, param);
}

BOOL DestroyWindow(HWND hwnd) {
  return WindowLifecycle::destroy(hwnd);
}

BOOL IsWindow(HWND hwnd) {
  auto w = manager().find(hwnd);
  return w && w->stage != Window::Stage::Gone;
}

BOOL IsWindowUnicode(HWND hwnd) {
  return windowOrFail(hwnd) ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  auto w = windowOrFail(hwnd);
  if (!w) return 0;
  if (processId) *processId = static_cast<DWORD>(getpid());
  return w->threadId();
}

HWND GetDesktopWindow() {
  return manager().desktop();
}

HWND GetParent(HWND hwnd) {
  auto w = windowOrFail(hwnd);
  if (!w) return nullptr;
  if (w->isChild()) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  auto w = windowOrFail(child);
  if (!w || child == manager().desktop()) return nullptr;
  if (!newParent) newParent = manager().desktop();
  auto parent = windowOrFail(newParent);
  if (!parent) return nullptr;
  if (newParent == child || manager().isDescendant(child, newParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HWND old = w->parent;
  // The window leaves its old place hidden and appears on top of its new siblings.
  constexpr UINT kInPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  bool wasVisible = w->isVisible();
  if (wasVisible)
    SetWindowPos(child, nullptr, 0, 0, 0, 0, kInPlace | SWP_NOZORDER | SWP_HIDEWINDOW);
  manager().setParent(child, newParent);
  if (wasVisible) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, kInPlace | SWP_SHOWWINDOW);
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  auto w = windowOrFail(hwnd);
  if (!w || hwnd == manager().desktop()) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->parent;
    case GA_ROOT: {
      while (w->parent != manager().desktop()) {
        auto parent = manager().find(w->parent);
        if (!parent) break;
        w = parent;
      }
      return w->handle();
    }
    case GA_ROOTOWNER: {
      HWND root = GetAncestor(hwnd, GA_ROOT);
      for (HWND owner = manager().ownerOf(root); owner; owner = manager().ownerOf(owner)) {
        root = owner;
      }
      return root;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HWND GetWindow(HWND hwnd, UINT command) {
  auto w = windowOrFail(hwnd);
  if (!w) return nullptr;
  if (command == GW_CHILD) {
    auto children = manager().children(hwnd);
    return children.empty() ? nullptr : children.front();
  }
  if (command == GW_OWNER) return w->owner;
  if (command == GW_ENABLEDPOPUP) {
    for (HWND top : manager().topLevelWindows()) {
      auto t = manager().find(top);
      if (t && t->owner == hwnd && t->isVisible() && !t->isDisabled()) return top;
    }
    return nullptr;
  }
  auto siblings = manager().children(w->parent);
  auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  if (it == siblings.end()) return nullptr;
  switch (command) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == siblings.begin() ? nullptr : *(it - 1);
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HWND GetTopWindow(HWND hwnd) {
  return GetWindow(hwnd ? hwnd : manager().desktop(), GW_CHILD);
}

BOOL IsChild(HWND parent, HWND hwnd) {
  // Only through child windows: an owned window is not a child.
  for (auto w = manager().find(hwnd); w && w->isChild(); w = manager().find(w->parent)) {
    if (w->parent == parent) return TRUE;
  }
  return FALSE;
}

int GetDlgCtrlID(HWND hwnd) {
  auto w = windowOrFail(hwnd);
  return w && w->isChild() ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  if (!windowOrFail(parent)) return nullptr;
  for (HWND child : manager().children(parent)) {
    auto c = manager().find(child);
    if (c && static_cast<int>(c->id) == id) return child;
  }
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  bool ok = false;
  LRESULT result = Messenger::send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), {}, &ok);
  return ok && result ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int size) {
  if (!text || size <= 0) return 0;
  text[0] = 0;
  return static_cast<int>(
      Messenger::send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hwnd) {
  return static_cast<int>(Messenger::send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

LONG GetWindowLongW(HWND hwnd, int index) {
  return static_cast<LONG>(readLongOrFail(hwnd, index, sizeof(LONG)));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(writeLong(hwnd, index, sizeof(LONG), value));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  return readLongOrFail(hwnd, index, sizeof(LONG_PTR));
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  return writeLong(hwnd, index, sizeof(LONG_PTR), value);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, message, wParam, lParam);
}

BOOL ShowWindow(HWND hwnd, int command) {
  return WindowPlacement::show(hwnd, command);
}

BOOL IsWindowVisible(HWND hwnd) {
  return WindowPlacement::isVisibleOnScreen(hwnd);
}

BOOL IsIconic(HWND hwnd) {
  auto w = manager().find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  auto w = manager().find(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
  auto w = windowOrFail(hwnd);
  if (!w) return FALSE;
  if (!(w->exStyle & WS_EX_LAYERED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  w->layered = platform::internal::LayeredAttributes{key, alpha, flags};
  w->invalidate(nullptr);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
  auto w = windowOrFail(hwnd);
  if (!w) return FALSE;
  if (!(w->exStyle & WS_EX_LAYERED) || !w->layered) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (key) *key = w->layered->key;
  if (alpha) *alpha = w->layered->alpha;
  if (flags) *flags = w->layered->flags;
  return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  auto w = windowOrFail(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = w->isDisabled();
  if (wasDisabled == !enable) return wasDisabled;
  if (!enable) {
    Messenger::send(hwnd, WM_CANCELMODE, 0, 0);
    if (!manager().find(hwnd)) return wasDisabled;
    w->style |= WS_DISABLED;
    HWND focus = GetFocus();
    if (focus == hwnd || IsChild(hwnd, focus)) SetFocus(nullptr);
  } else {
    w->style &= ~WS_DISABLED;
  }
  Messenger::send(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  auto w = manager().find(hwnd);
  return w && !w->isDisabled();
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  return WindowPlacement::setPosition(hwnd, insertAfter, x, y, width, height, flags);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  auto w = windowOrFail(hwnd);
  if (!w || !rect) return FALSE;
  *rect = WindowPlacement::screenWindowRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  auto w = windowOrFail(hwnd);
  if (!w || !rect) return FALSE;
  RECT client = hwnd == manager().desktop() ? WindowPlacement::screenWindowRect(*w) : w->clientRect;
  *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  if (!windowOrFail(hwnd) || !point) return FALSE;
  POINT origin = WindowPlacement::clientOrigin(hwnd);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  if (!windowOrFail(hwnd) || !point) return FALSE;
  POINT origin = WindowPlacement::clientOrigin(hwnd);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT a = from ? WindowPlacement::clientOrigin(from) : POINT{0, 0};
  POINT b = to ? WindowPlacement::clientOrigin(to) : POINT{0, 0};
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT point) {
  return WindowPlacement::windowFromPoint(point);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  auto w = windowOrFail(parent);
  if (!w) return nullptr;
  RECT client{0, 0, w->clientRect.right - w->clientRect.left,
              w->clientRect.bottom - w->clientRect.top};
  if (!PtInRect(&client, point)) return nullptr;
  for (HWND child : manager().children(parent)) {
    auto c = manager().find(child);
    if (!c) continue;
    if (PtInRect(&c->windowRect, point)) return child;
  }
  return parent;
}

BOOL AdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
  if (!rect) return FALSE;
  RECT insets = NonClientMetrics::frameInsets(style, exStyle, menu != FALSE, dpi);
  rect->left -= insets.left;
  rect->top -= insets.top;
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  return AdjustWindowRectExForDpi(rect, style, menu, exStyle,
                                  static_cast<UINT>(platform::CurrentDisplay().dpi()));
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}

HWND SetFocus(HWND hwnd) {
  return Activation::setFocus(hwnd);
}

HWND GetFocus() {
  auto queue = MessageQueue::currentIfAny();
  return queue ? queue->input().focus : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  if (hwnd) {
    auto w = windowOrFail(hwnd);
    if (!w) return nullptr;
    if (w->isChild()) hwnd = GetAncestor(hwnd, GA_ROOT);
  }
  return Activation::setActive(hwnd, WA_ACTIVE);
}

HWND GetActiveWindow() {
  auto queue = MessageQueue::currentIfAny();
  return queue ? queue->input().active : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
  auto w = windowOrFail(hwnd);
  if (!w) return FALSE;
  if (!w->onCurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  HWND top = GetAncestor(hwnd, GA_ROOT);
  manager().reorder(top, HWND_TOP);
  if (GetActiveWindow() != top) Activation::setActive(top, WA_ACTIVE);
  return GetActiveWindow() == top;
}

HWND GetForegroundWindow() {
  return manager().foreground();
}

HWND SetCapture(HWND hwnd) {
  return Activation::setCapture(hwnd);
}

BOOL ReleaseCapture() {
  return Activation::releaseCapture();
}

HWND GetCapture() {
  auto queue = MessageQueue::currentIfAny();
  return queue ? queue->input().capture : nullptr;
}

// Window class functions of user.h, and the system cursors and icons.
#include "platform/user.h"

#include <algorithm>

#include "internal/ClassRegistry.h"
#include "internal/Window.h"
#include "internal/WindowManager.h"
#include "platform/display.h"
#include "platform/kernel.h"

using platform::internal::ClassRegistry;
using platform::internal::WindowManager;

namespace {

constexpr DWORD kResourceNameNotFound = 1814;

// System cursors and icons are stable handles made from their identifiers.
constexpr WORD kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642, 32643,
                               32644, 32645, 32646, 32648, 32649, 32650, 32651, 32671, 32672};
constexpr WORD kIconIds[] = {32512, 32513, 32514, 32515, 32516, 32517};

template <size_t N>
HICON systemHandle(HINSTANCE instance, LPCWSTR name, const WORD (&ids)[N], uintptr_t base) {
  auto id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
  if (instance || !IS_INTRESOURCE(name) || std::find(ids, ids + N, id) == ids + N) {
    SetLastError(kResourceNameNotFound);
    return nullptr;
  }
  return reinterpret_cast<HICON>(base | (uintptr_t{id} << 4));
}

}  // namespace

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return ClassRegistry::instance().add(*wc);
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                 wc->cbWndExtra,      wc->hInstance,    wc->hIcon,         wc->hCursor,
                 wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
  return ClassRegistry::instance().add(ex);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  return ClassRegistry::instance().remove(className, instance);
}

BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wc) {
  auto cls = ClassRegistry::instance().findForInfo(className, instance);
  if (!cls || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  cls->describe(wc);
  wc->lpszClassName = className;
  return cls->atom();
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc) {
  WNDCLASSEXW ex{};
  ex.cbSize = sizeof ex;
  BOOL atom = GetClassInfoExW(instance, className, &ex);
  if (!atom || !wc) return FALSE;
  *wc = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                  ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, className};
  return atom;
}

int GetClassNameW(HWND hwnd, LPWSTR name, int size) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!name || size <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& text = w->windowClass().name();
  size_t count = std::min<size_t>(text.size(), static_cast<size_t>(size) - 1);
  std::copy_n(text.data(), count, name);
  name[count] = 0;
  return static_cast<int>(count);
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR value = 0;
  if (!w->windowClass().read(index, sizeof(ULONG_PTR), &value)) SetLastError(ERROR_INVALID_INDEX);
  return value;
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR previous = 0;
  if (!w->windowClass().write(index, sizeof(ULONG_PTR), value, &previous)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return previous;
}

DWORD GetClassLongW(HWND hwnd, int index) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR value = 0;
  if (!w->windowClass().read(index, sizeof(LONG), &value)) SetLastError(ERROR_INVALID_INDEX);
  return static_cast<DWORD>(value);
}

DWORD SetClassLongW(HWND hwnd, int index, LONG value) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR previous = 0;
  if (!w->windowClass().write(index, sizeof(LONG), value, &previous)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return static_cast<DWORD>(previous);
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  return systemHandle(instance, name, kCursorIds, 0x10000000);
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return systemHandle(instance, name, kIconIds, 0x20000000);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = WindowManager::instance().setCursor(cursor);
  if (previous != cursor) platform::CurrentDisplay().cursorChanged(cursor);
  return previous;
}

HCURSOR GetCursor() {
  return WindowManager::instance().cursor();
}

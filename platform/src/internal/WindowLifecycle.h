// Creation and destruction of windows, in the platform's message order.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class WindowLifecycle {
 public:
  static HWND create(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
  static bool destroy(HWND hwnd);

 private:
  static void sendParentNotify(HWND hwnd, UINT event);
  static void sendDestroy(HWND hwnd);
  static void release(HWND hwnd);
};

}  // namespace platform::internal

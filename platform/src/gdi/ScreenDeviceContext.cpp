// The device-context stub: it answers the screen's size and resolution.
#include "platform/gdi.h"

#include "platform/display.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace {

// One shared stub handle; it names no drawing surface yet.
HDC screenContext() {
  return reinterpret_cast<HDC>(static_cast<uintptr_t>(0x3C0010));
}

}  // namespace

HDC GetDC(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return screenContext();
}

int ReleaseDC(HWND, HDC dc) {
  return dc == screenContext() ? 1 : 0;
}

int GetDeviceCaps(HDC dc, int index) {
  if (dc != screenContext()) return 0;
  platform::DisplayDriver& display = platform::CurrentDisplay();
  SIZE screen = display.screenSize();
  int dpi = display.dpi();
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return dpi;
    case HORZRES:
      return screen.cx;
    case VERTRES:
      return screen.cy;
    case HORZSIZE:
      return dpi ? screen.cx * 254 / (dpi * 10) : 0;
    case VERTSIZE:
      return dpi ? screen.cy * 254 / (dpi * 10) : 0;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
  }
  return 0;
}

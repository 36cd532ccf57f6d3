// Device contexts of windows, the screen and memory bitmaps; painting.
#include "internal/GdiLookup.h"
#include "internal/Painting.h"
#include "internal/SurfaceDamage.h"
#include "internal/WindowManager.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/user.h"

using platform::internal::addObject;
using platform::internal::contextOf;
using platform::internal::DeviceContext;
using platform::internal::GdiHandleTable;
using platform::internal::Painting;
using platform::internal::WindowManager;

namespace {

HDC windowContext(HWND hwnd, bool wholeWindow) {
  if (!hwnd || hwnd == GetDesktopWindow()) {
    return addObject<HDC>(DeviceContext::forScreen());
  }
  auto dc = DeviceContext::forWindow(hwnd, wholeWindow);
  if (!dc) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return addObject<HDC>(std::move(dc));
}

}  // namespace

HDC GetDC(HWND hwnd) {
  return windowContext(hwnd, false);
}

HDC GetWindowDC(HWND hwnd) {
  return windowContext(hwnd, true);
}

int ReleaseDC(HWND, HDC dc) {
  auto context = contextOf(dc);
  if (!context || context->isMemory()) return 0;
  platform::internal::SurfaceDamage::report(*context);
  GdiHandleTable::instance().remove(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto context = contextOf(dc);
  return context ? context->window() : nullptr;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  auto w = WindowManager::instance().find(hwnd);
  if (!w || !paint) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  Painting::paintPendingFrame(hwnd);
  platform::internal::Region update = w->updateRegion();
  bool erase = w->takeErase();
  w->validate(static_cast<const RECT*>(nullptr));
  auto context = DeviceContext::forWindow(hwnd, false);
  if (!context) return nullptr;
  context->restrictTo(update);
  HDC dc = addObject<HDC>(std::move(context));
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = update.bounds();
  paint->fErase = FALSE;
  if (erase && dc) {
    paint->fErase =
        SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  if (auto context = contextOf(paint->hdc)) platform::internal::SurfaceDamage::report(*context);
  GdiHandleTable::instance().remove(paint->hdc);
  return TRUE;
}

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !contextOf(dc)) return nullptr;
  return addObject<HDC>(DeviceContext::forMemory());
}

BOOL DeleteDC(HDC dc) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  if (auto bitmap = context->state().bitmap) bitmap->selected = false;
  GdiHandleTable::instance().remove(dc);
  return TRUE;
}

int SaveDC(HDC dc) {
  auto context = contextOf(dc);
  return context ? context->save() : 0;
}

BOOL RestoreDC(HDC dc, int savedDc) {
  auto context = contextOf(dc);
  return context && context->restore(savedDc) ? TRUE : FALSE;
}

int GetDeviceCaps(HDC dc, int index) {
  if (!contextOf(dc)) return 0;
  platform::DisplayDriver& display = platform::CurrentDisplay();
  SIZE screen = display.screenSize();
  int dpi = display.dpi();
  switch (index) {
    case TECHNOLOGY:
      return DT_RASDISPLAY;
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
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_STRETCHBLT;
  }
  return 0;
}

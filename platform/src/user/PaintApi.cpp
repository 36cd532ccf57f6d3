// Invalidation, validation and painting now: InvalidateRect, RedrawWindow
// and their relatives.
#include "internal/GdiLookup.h"
#include "internal/Painting.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/gdi.h"
#include "platform/user.h"

using platform::internal::Painting;
using platform::internal::Region;
using platform::internal::regionOf;
using platform::internal::WindowManager;
using platform::internal::WindowPlacement;

namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

Painting::Children childrenOf(UINT flags) {
  if (flags & RDW_ALLCHILDREN) return Painting::Children::All;
  if (flags & RDW_NOCHILDREN) return Painting::Children::None;
  return Painting::Children::Default;
}

void redraw(HWND hwnd, const Region& area, bool wholeArea, UINT flags) {
  auto w = manager().find(hwnd);
  if (!w) return;
  Painting::Children children = childrenOf(flags);
  if (flags & RDW_INVALIDATE) {
    if (WindowPlacement::isVisibleOnScreen(hwnd)) {
      Painting::invalidate(hwnd, area, (flags & RDW_ERASE) != 0, children);
      if (flags & RDW_FRAME) w->invalidateFrame();
    }
  } else if (flags & RDW_VALIDATE) {
    Painting::validate(hwnd, wholeArea ? nullptr : &area, children);
    if (flags & RDW_NOERASE) w->cancelErase();
  }
  if (flags & RDW_INTERNALPAINT) w->requestInternalPaint();
  if (flags & RDW_UPDATENOW) {
    Painting::updateNow(hwnd);
  } else if (flags & RDW_ERASENOW) {
    Painting::eraseNow(hwnd);
  }
}

// The top-level windows of this thread: what a null window stands for.
std::vector<HWND> ownTopLevelWindows() {
  std::vector<HWND> own;
  for (HWND top : manager().topLevelWindows()) {
    auto w = manager().find(top);
    if (w && w->onCurrentThread()) own.push_back(top);
  }
  return own;
}

}  // namespace

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (!hwnd || hwnd == manager().desktop()) {
    for (HWND top : ownTopLevelWindows())
      redraw(top, Painting::clientArea(top), true, flags | RDW_FRAME);
    return TRUE;
  }
  if (!manager().find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Region area = Painting::clientArea(hwnd);
  bool wholeArea = true;
  if (region) {
    auto object = regionOf(region);
    if (!object) return FALSE;
    area = object->region;
    wholeArea = false;
  } else if (rect) {
    area = Region(*rect);
    wholeArea = false;
  }
  redraw(hwnd, area, wholeArea, flags);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND hwnd) {
  if (!manager().find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Painting::updateNow(hwnd);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  auto w = manager().find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (erase) Painting::eraseNow(hwnd);
  if (rect) *rect = w->updateRect();
  return w->updateRegion().empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
  auto w = manager().find(hwnd);
  auto object = regionOf(region);
  if (!w || !object) return ERROR;
  if (erase) Painting::eraseNow(hwnd);
  object->region = w->updateRegion();
  if (object->region.empty()) return NULLREGION;
  return object->region.isRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

// Images of top-level windows for tests and the headless driver.
#include "internal/Painting.h"
#include "internal/WindowManager.h"
#include "internal/WindowSurface.h"
#include "internal/WindowVisibility.h"
#include "platform/display.h"

namespace platform::headless {

bool SnapshotPng(HWND hwnd, const std::string& path) {
  using internal::WindowManager;
  HWND root = internal::WindowVisibility::rootOf(hwnd);
  auto top = WindowManager::instance().find(root);
  if (!top) return false;
  internal::Painting::updateNow(root);
  top = WindowManager::instance().find(root);
  if (!top) return false;
  auto surface = internal::WindowSurface::of(*top);
  return cairo_surface_write_to_png(surface->surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace platform::headless

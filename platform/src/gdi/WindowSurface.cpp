#include "internal/WindowSurface.h"

#include <algorithm>

#include "internal/SystemColors.h"

namespace platform::internal {
namespace {

CairoSurface blank(int width, int height) {
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  // A window nobody painted yet shows the button face, not garbage.
  CairoContext cr(cairo_create(surface.get()));
  COLORREF face = SystemColors::color(COLOR_BTNFACE);
  cairo_set_source_rgb(cr.get(), GetRValue(face) / 255.0, GetGValue(face) / 255.0,
                       GetBValue(face) / 255.0);
  cairo_paint(cr.get());
  return surface;
}

}  // namespace

WindowSurface::WindowSurface(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), surface_(blank(width_, height_)) {}

void WindowSurface::resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == width_ && height == height_) return;
  CairoSurface next = blank(width, height);
  CairoContext cr(cairo_create(next.get()));
  cairo_set_source_surface(cr.get(), surface_.get(), 0, 0);
  cairo_paint(cr.get());
  surface_ = std::move(next);
  width_ = width;
  height_ = height;
}

std::shared_ptr<WindowSurface> WindowSurface::of(Window& topLevel) {
  int width = topLevel.windowRect.right - topLevel.windowRect.left;
  int height = topLevel.windowRect.bottom - topLevel.windowRect.top;
  if (!topLevel.surface) {
    topLevel.surface = std::make_shared<WindowSurface>(width, height);
  } else {
    topLevel.surface->resize(width, height);
  }
  return topLevel.surface;
}

}  // namespace platform::internal

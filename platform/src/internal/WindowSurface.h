// The image a top-level window is drawn into: its whole window rectangle,
// frame included. Child windows draw into their top-level window's surface.
#pragma once

#include <memory>

#include "internal/CairoHandles.h"
#include "internal/Window.h"

namespace platform::internal {

class WindowSurface {
 public:
  WindowSurface(int width, int height);

  cairo_surface_t* surface() const { return surface_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  // The surface of a top-level window, made or resized to its window
  // rectangle (what was drawn stays at the top left).
  static std::shared_ptr<WindowSurface> of(Window& topLevel);

 private:
  void resize(int width, int height);

  int width_;
  int height_;
  CairoSurface surface_;
};

}  // namespace platform::internal

// A bitmap: an image surface that a memory device context draws into, or
// that a pattern brush repeats. A monochrome bitmap keeps black and white
// pixels that take the text and background colours where it is used.
#pragma once

#include "internal/CairoHandles.h"
#include "internal/GdiObject.h"
#include "platform/types.h"

namespace platform::internal {

class Bitmap final : public GdiObject {
 public:
  Bitmap(int width, int height, bool monochrome);
  Kind kind() const override { return Kind::Bitmap; }

  int width() const { return width_; }
  int height() const { return height_; }
  bool monochrome() const { return monochrome_; }
  cairo_surface_t* surface() const { return surface_.get(); }
  // Fills the pixels from rows of bits (1 bit per pixel rows padded to 16
  // bits, or 32-bit 0x00RRGGBB pixels).
  void load(const void* bits, int bitsPerPixel);
  // The surface with black as foreground and white as background replaced
  // by the given colours (monochrome bitmaps); the surface itself otherwise.
  CairoSurface colorized(COLORREF foreground, COLORREF background) const;

  // A memory device context holds at most one bitmap at a time.
  bool selected = false;

 private:
  int width_;
  int height_;
  bool monochrome_;
  CairoSurface surface_;
};

}  // namespace platform::internal

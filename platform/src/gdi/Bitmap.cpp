#include "internal/Bitmap.h"

#include <cstring>

#include "platform/gdi.h"

namespace platform::internal {
namespace {

uint32_t pixelOf(COLORREF color) {
  return (uint32_t{GetRValue(color)} << 16) | (uint32_t{GetGValue(color)} << 8) | GetBValue(color);
}

}  // namespace

Bitmap::Bitmap(int width, int height, bool monochrome)
    : width_(width < 1 ? 1 : width),
      height_(height < 1 ? 1 : height),
      monochrome_(monochrome),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_)) {
  // New bitmaps are black, as the platform's are.
  cairo_surface_flush(surface_.get());
  unsigned char* data = cairo_image_surface_get_data(surface_.get());
  std::memset(data, 0,
              static_cast<size_t>(cairo_image_surface_get_stride(surface_.get())) * height_);
  cairo_surface_mark_dirty(surface_.get());
}

void Bitmap::load(const void* bits, int bitsPerPixel) {
  if (!bits) return;
  cairo_surface_flush(surface_.get());
  unsigned char* data = cairo_image_surface_get_data(surface_.get());
  int stride = cairo_image_surface_get_stride(surface_.get());
  const auto* source = static_cast<const unsigned char*>(bits);
  for (int y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    if (bitsPerPixel == 1) {
      int sourceStride = ((width_ + 15) / 16) * 2;
      const unsigned char* line = source + static_cast<ptrdiff_t>(y) * sourceStride;
      for (int x = 0; x < width_; ++x) {
        bool set = (line[x / 8] >> (7 - x % 8)) & 1;
        row[x] = set ? 0xFFFFFFu : 0;
      }
    } else {
      std::memcpy(row, source + static_cast<ptrdiff_t>(y) * width_ * 4,
                  static_cast<size_t>(width_) * 4);
    }
  }
  cairo_surface_mark_dirty(surface_.get());
}

CairoSurface Bitmap::colorized(COLORREF foreground, COLORREF background) const {
  if (!monochrome_) return CairoSurface(cairo_surface_reference(surface_.get()));
  CairoSurface out(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_));
  cairo_surface_flush(surface_.get());
  const unsigned char* in = cairo_image_surface_get_data(surface_.get());
  unsigned char* data = cairo_image_surface_get_data(out.get());
  int inStride = cairo_image_surface_get_stride(surface_.get());
  int stride = cairo_image_surface_get_stride(out.get());
  uint32_t fg = pixelOf(foreground), bg = pixelOf(background);
  for (int y = 0; y < height_; ++y) {
    const auto* source =
        reinterpret_cast<const uint32_t*>(in + static_cast<ptrdiff_t>(y) * inStride);
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x)
      row[x] = (source[x] & 0xFFFFFF) ? bg : fg;
  }
  cairo_surface_mark_dirty(out.get());
  return out;
}

}  // namespace platform::internal

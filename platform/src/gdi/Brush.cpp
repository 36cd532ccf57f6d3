#include "internal/Brush.h"

namespace platform::internal {
namespace {

void setColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                       GetBValue(color) / 255.0);
}

// One 8x8 tile of a hatch: the lines in the brush colour, the gaps in the
// background colour or transparent.
CairoSurface hatchTile(int hatch, COLORREF color, const COLORREF* background) {
  CairoSurface tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  CairoContext cr(cairo_create(tile.get()));
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  if (background) {
    setColor(cr.get(), *background);
    cairo_paint(cr.get());
  }
  setColor(cr.get(), color);
  for (int i = 0; i < 8; ++i) {
    bool horizontal = hatch == HS_HORIZONTAL || hatch == HS_CROSS;
    bool vertical = hatch == HS_VERTICAL || hatch == HS_CROSS;
    bool forward = hatch == HS_FDIAGONAL || hatch == HS_DIAGCROSS;
    bool backward = hatch == HS_BDIAGONAL || hatch == HS_DIAGCROSS;
    if (horizontal) cairo_rectangle(cr.get(), i, 4, 1, 1);
    if (vertical) cairo_rectangle(cr.get(), 4, i, 1, 1);
    if (forward) cairo_rectangle(cr.get(), i, i, 1, 1);
    if (backward) cairo_rectangle(cr.get(), i, 7 - i, 1, 1);
  }
  cairo_fill(cr.get());
  return tile;
}

}  // namespace

std::shared_ptr<Brush> Brush::solid(COLORREF color) {
  return std::make_shared<Brush>(Style::Solid, color & 0xFFFFFF, 0);
}

std::shared_ptr<Brush> Brush::null() {
  return std::make_shared<Brush>(Style::Null, 0, 0);
}

std::shared_ptr<Brush> Brush::hatched(int hatch, COLORREF color) {
  return std::make_shared<Brush>(Style::Hatched, color & 0xFFFFFF, hatch);
}

std::shared_ptr<Brush> Brush::pattern(std::shared_ptr<Bitmap> bitmap) {
  auto brush = std::make_shared<Brush>(Style::Pattern, 0, 0);
  auto copy = std::make_shared<Bitmap>(bitmap->width(), bitmap->height(), bitmap->monochrome());
  CairoContext cr(cairo_create(copy->surface()));
  cairo_set_source_surface(cr.get(), bitmap->surface(), 0, 0);
  cairo_paint(cr.get());
  brush->bitmap_ = std::move(copy);
  return brush;
}

LOGBRUSH Brush::describe() const {
  switch (style_) {
    case Style::Solid:
      return LOGBRUSH{BS_SOLID, color_, 0};
    case Style::Null:
      return LOGBRUSH{BS_NULL, 0, 0};
    case Style::Hatched:
      return LOGBRUSH{BS_HATCHED, color_, static_cast<ULONG_PTR>(hatch_)};
    case Style::Pattern:
      return LOGBRUSH{BS_PATTERN, 0, 0};
  }
  return LOGBRUSH{};
}

CairoPattern Brush::source(COLORREF textColor, const COLORREF* background) const {
  switch (style_) {
    case Style::Solid:
      return CairoPattern(cairo_pattern_create_rgb(
          GetRValue(color_) / 255.0, GetGValue(color_) / 255.0, GetBValue(color_) / 255.0));
    case Style::Null:
      return nullptr;
    case Style::Hatched: {
      CairoSurface tile = hatchTile(hatch_, color_, background);
      CairoPattern out(cairo_pattern_create_for_surface(tile.get()));
      cairo_pattern_set_extend(out.get(), CAIRO_EXTEND_REPEAT);
      return out;
    }
    case Style::Pattern: {
      COLORREF back = background ? *background : RGB(255, 255, 255);
      CairoSurface tile = bitmap_->colorized(textColor, back);
      CairoPattern out(cairo_pattern_create_for_surface(tile.get()));
      cairo_pattern_set_extend(out.get(), CAIRO_EXTEND_REPEAT);
      return out;
    }
  }
  return nullptr;
}

}  // namespace platform::internal

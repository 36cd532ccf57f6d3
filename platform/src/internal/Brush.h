// A brush: how areas are filled (a solid colour, a hatch, a repeated bitmap,
// or nothing).
#pragma once

#include <memory>

#include "internal/Bitmap.h"
#include "internal/CairoHandles.h"
#include "internal/GdiObject.h"
#include "platform/gdi.h"

namespace platform::internal {

class Brush final : public GdiObject {
 public:
  enum class Style { Solid, Null, Hatched, Pattern };

  static std::shared_ptr<Brush> solid(COLORREF color);
  static std::shared_ptr<Brush> null();
  static std::shared_ptr<Brush> hatched(int hatch, COLORREF color);
  static std::shared_ptr<Brush> pattern(std::shared_ptr<Bitmap> bitmap);

  Brush(Style style, COLORREF color, int hatch) : style_(style), color_(color), hatch_(hatch) {}

  Kind kind() const override { return Kind::Brush; }
  Style style() const { return style_; }
  COLORREF color() const { return color_; }
  int hatch() const { return hatch_; }
  LOGBRUSH describe() const;

  // A cairo source for the brush; text and background colours serve
  // monochrome patterns and the gaps of hatches (null: transparent gaps).
  CairoPattern source(COLORREF textColor, const COLORREF* background) const;

 private:
  Style style_;
  COLORREF color_;
  int hatch_;
  std::shared_ptr<Bitmap> bitmap_;  // a copy made at creation, as the platform does
};

}  // namespace platform::internal

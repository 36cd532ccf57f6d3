// A pen: how outlines and lines are drawn.
#pragma once

#include "internal/GdiObject.h"
#include "platform/gdi.h"

namespace platform::internal {

class Pen final : public GdiObject {
 public:
  Pen(int style, int width, COLORREF color)
      : style_(style & PS_STYLE_MASK), width_(width < 1 ? 1 : width), color_(color) {}
  Kind kind() const override { return Kind::Pen; }

  int style() const { return style_; }
  int width() const { return width_; }
  COLORREF color() const { return color_; }
  bool isNull() const { return style_ == PS_NULL; }

 private:
  int style_;
  int width_;
  COLORREF color_;
};

}  // namespace platform::internal

// The Shape: a windowless figure (rectangle, square, oval, circle, rounded
// rectangle and square, triangle, diamond) painted by its container, filled
// solid, hatched or with a gradient between its two fill colours. Every
// property write repaints the shape's rectangle at once.
#pragma once

#include <memory>

#include "app/members/IShape.h"
#include "runtime/controls/BaseControlWindowlessNoDrag.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4F80-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_Shape{
    0x33AD4F80, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

// Shape values.
namespace figure {
inline constexpr LONG Rectangle = 0;
inline constexpr LONG Square = 1;
inline constexpr LONG Oval = 2;
inline constexpr LONG Circle = 3;
inline constexpr LONG RoundedRectangle = 4;
inline constexpr LONG RoundedSquare = 5;
inline constexpr LONG Triangle = 6;  // pointing up
inline constexpr LONG Diamond = 7;
}  // namespace figure

// FillStyle values: 0 solid, 1 transparent, 2 to 7 hatches (horizontal,
// vertical, upward and downward diagonal, cross, diagonal cross), 8 and 9
// gradients from FillColor to FillColor2 (left to right, top to bottom).
inline constexpr LONG kFillSolid = 0;
inline constexpr LONG kFillTransparent = 1;
inline constexpr LONG kFillHatchLast = 7;
inline constexpr LONG kFillGradientHorizontal = 8;
inline constexpr LONG kFillGradientVertical = 9;

struct ShapeDesign {
  CommonDesign common;
  int32_t backColor = static_cast<int32_t>(colour::WindowBackground);
  int32_t backStyle = 0;
  int32_t borderColor = static_cast<int32_t>(colour::WindowText);
  int32_t borderStyle = 1;
  int32_t borderWidth = 1;
  int32_t drawMode = 13;
  int32_t fillColor = static_cast<int32_t>(colour::ScrollBar);
  int32_t fillStyle = 1;
  int32_t shape = 0;
  int32_t fillColor2 = 0x00FFFFFF;
};
extern const PropertyLayout kShapeLayout;

class Shape final : public ControlObject<Shape, skiffwire::IShape> {
 public:
  Shape();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return windowless_ ? windowless_->rect() : nullptr; }
  BaseControlWindowlessNoDrag* windowless() { return windowless_.get(); }

  // --- IShape
  HRESULT put_FillColor(DWORD colour) override;

  HRESULT repaint();

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void paintWindowless(HDC dc) override;
  bool windowlessRect(RECT* rect) override;
  bool visible() override { return rect()->windowlessVisible(); }
  bool enabled() override { return rect()->windowlessEnabled(); }

  // Repaints requested so far (each write asks for one).
  int repaints() const { return repaints_; }
  // The status of the last painting: a failed gradient fill leaves the
  // system's last error here (painting itself has no caller to tell).
  HRESULT paintStatus() const { return paintStatus_; }

  // Own fields, in declaration order.
  int32_t backColor_ = static_cast<int32_t>(colour::WindowBackground);
  LONG backStyle_ = 0;
  int32_t borderColor_ = static_cast<int32_t>(colour::WindowText);
  LONG borderStyle_ = 1;
  LONG borderWidth_ = 1;
  LONG drawMode_ = 13;
  int32_t fillColor_ = static_cast<int32_t>(colour::ScrollBar);
  int32_t fillColor2_ = 0x00FFFFFF;
  LONG fillStyle_ = kFillTransparent;
  LONG shape_ = figure::Rectangle;
  LONG unnamed20_ = 20;
  LONG unnamedA_ = -1;
  LONG unnamedB_ = -1;
  LONG unnamedC_ = -1;
  LONG unnamedLast_ = 0;

 private:
  friend class ComObject<Shape, skiffwire::IShape, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~Shape() override = default;

  std::unique_ptr<BaseControlWindowlessNoDrag> windowless_;
  int repaints_ = 0;
  HRESULT paintStatus_ = S_OK;
};

}  // namespace rt

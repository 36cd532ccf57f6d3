// The drawing steps shared by the shape, text and region functions: filling
// a rectangle or a path with a brush or a colour, and stroking with a pen,
// in a context's logical coordinates under its raster operation.
#pragma once

#include "internal/DeviceContext.h"

namespace platform::internal {

class ShapeDrawing {
 public:
  static void fillRect(DeviceContext& dc, const RECT& rect, const Brush& brush);
  static void fillColor(DeviceContext& dc, const RECT& rect, COLORREF color);
  // Fills the current path of cr (made after dc.begin()).
  static void fillPath(DeviceContext& dc, cairo_t* cr, const Brush& brush);
  // Strokes the current path of cr with the pen; the path is consumed.
  static void strokePath(DeviceContext& dc, cairo_t* cr, const Pen& pen);
  // The outline of a rectangle drawn inside it (pixels left..right-1).
  static void outlineRect(DeviceContext& dc, const RECT& rect, const Pen& pen);
  // A one-pixel line along a row or column, excluding its end point.
  static void straightLine(DeviceContext& dc, POINT from, POINT to, const Pen& pen);
};

}  // namespace platform::internal

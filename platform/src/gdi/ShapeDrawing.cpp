#include "internal/ShapeDrawing.h"

#include <algorithm>

#include "platform/gdi.h"

namespace platform::internal {
namespace {

void setDashes(cairo_t* cr, int style) {
  static constexpr double kDash[] = {18, 6};
  static constexpr double kDot[] = {3, 3};
  static constexpr double kDashDot[] = {9, 6, 3, 6};
  static constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH:
      cairo_set_dash(cr, kDash, 2, 0);
      break;
    case PS_DOT:
      cairo_set_dash(cr, kDot, 2, 0);
      break;
    case PS_DASHDOT:
      cairo_set_dash(cr, kDashDot, 4, 0);
      break;
    case PS_DASHDOTDOT:
      cairo_set_dash(cr, kDashDotDot, 6, 0);
      break;
    default:
      cairo_set_dash(cr, nullptr, 0, 0);
      break;
  }
}

bool isPlainSolid(const Pen& pen) {
  return pen.style() == PS_SOLID || pen.style() == PS_INSIDEFRAME;
}

}  // namespace

void ShapeDrawing::fillRect(DeviceContext& dc, const RECT& rect, const Brush& brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  cairo_t* cr = dc.begin();
  if (!cr || !dc.setBrushSource(cr, brush)) return;
  cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  cairo_fill(cr);
}

void ShapeDrawing::fillColor(DeviceContext& dc, const RECT& rect, COLORREF color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  cairo_t* cr = dc.begin();
  if (!cr || !dc.setColorSource(cr, color)) return;
  cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  cairo_fill(cr);
}

void ShapeDrawing::fillPath(DeviceContext& dc, cairo_t* cr, const Brush& brush) {
  if (!dc.setBrushSource(cr, brush)) {
    cairo_new_path(cr);
    return;
  }
  cairo_fill_preserve(cr);
}

void ShapeDrawing::strokePath(DeviceContext& dc, cairo_t* cr, const Pen& pen) {
  if (pen.isNull() || !dc.setColorSource(cr, pen.color())) {
    cairo_new_path(cr);
    return;
  }
  cairo_set_line_width(cr, pen.width());
  setDashes(cr, pen.style());
  cairo_stroke(cr);
}

void ShapeDrawing::outlineRect(DeviceContext& dc, const RECT& r, const Pen& pen) {
  if (pen.isNull()) return;
  if (!isPlainSolid(pen)) {
    cairo_t* cr = dc.begin();
    if (!cr) return;
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1);
    strokePath(dc, cr, pen);
    return;
  }
  int w = std::min<int>({pen.width(), (r.right - r.left + 1) / 2, (r.bottom - r.top + 1) / 2});
  if (w <= 0) return;
  cairo_t* cr = dc.begin();
  if (!cr || !dc.setColorSource(cr, pen.color())) return;
  // Four strips that do not overlap, so inverting modes invert each pixel once.
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, w);
  cairo_rectangle(cr, r.left, r.bottom - w, r.right - r.left, w);
  cairo_rectangle(cr, r.left, r.top + w, w, r.bottom - r.top - 2 * w);
  cairo_rectangle(cr, r.right - w, r.top + w, w, r.bottom - r.top - 2 * w);
  cairo_fill(cr);
}

void ShapeDrawing::straightLine(DeviceContext& dc, POINT from, POINT to, const Pen& pen) {
  if (pen.isNull()) return;
  if (from.x == to.x && from.y == to.y) return;
  cairo_t* cr = dc.begin();
  if (!cr) return;
  bool axisAligned = from.x == to.x || from.y == to.y;
  if (axisAligned && isPlainSolid(pen)) {
    if (!dc.setColorSource(cr, pen.color())) return;
    int w = pen.width();
    int half = (w - 1) / 2;
    if (from.y == to.y) {
      LONG left = to.x > from.x ? from.x : to.x + 1;
      LONG right = to.x > from.x ? to.x : from.x + 1;
      cairo_rectangle(cr, left, from.y - half, right - left, w);
    } else {
      LONG top = to.y > from.y ? from.y : to.y + 1;
      LONG bottom = to.y > from.y ? to.y : from.y + 1;
      cairo_rectangle(cr, from.x - half, top, w, bottom - top);
    }
    cairo_fill(cr);
    return;
  }
  cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
  cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
  strokePath(dc, cr, pen);
}

}  // namespace platform::internal

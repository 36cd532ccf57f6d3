// Shapes, lines, pixels, edges, block transfers and gradients.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "internal/GdiLookup.h"
#include "internal/ShapeDrawing.h"
#include "platform/gdi.h"
#include "platform/user.h"

using platform::internal::brushOf;
using platform::internal::CairoContext;
using platform::internal::CairoSurface;
using platform::internal::contextOf;
using platform::internal::DeviceContext;
using platform::internal::ShapeDrawing;
using platform::internal::SystemColors;

namespace {

RECT normalized(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
              std::max(top, bottom)};
}

// The path of an ellipse through the centres of its outermost pixels.
void ellipsePath(cairo_t* cr, const RECT& r) {
  double rx = std::max(0.5, (r.right - r.left) / 2.0 - 0.5);
  double ry = std::max(0.5, (r.bottom - r.top) / 2.0 - 0.5);
  cairo_save(cr);
  cairo_translate(cr, (r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
  cairo_scale(cr, rx, ry);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void roundRectPath(cairo_t* cr, const RECT& r, int width, int height) {
  double left = r.left + 0.5, top = r.top + 0.5;
  double right = r.right - 0.5, bottom = r.bottom - 0.5;
  double rx = std::min(std::abs(width) / 2.0, (right - left) / 2.0);
  double ry = std::min(std::abs(height) / 2.0, (bottom - top) / 2.0);
  cairo_new_path(cr);
  if (rx < 0.5 || ry < 0.5) {
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    return;
  }
  auto corner = [&](double cx, double cy, double from) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, from + M_PI / 2);
    cairo_restore(cr);
  };
  corner(right - rx, top + ry, -M_PI / 2);
  corner(right - rx, bottom - ry, 0);
  corner(left + rx, bottom - ry, M_PI / 2);
  corner(left + rx, top + ry, M_PI);
  cairo_close_path(cr);
}

// Fills the current path with the brush and outlines it with the pen.
BOOL fillAndStroke(DeviceContext& dc, cairo_t* cr) {
  auto brush = dc.brush();
  auto pen = dc.pen();
  ShapeDrawing::fillPath(dc, cr, *brush);
  ShapeDrawing::strokePath(dc, cr, *pen);
  return TRUE;
}

struct EdgeColors {
  int topLeft;
  int bottomRight;
};

// The colours of the outer and inner lines of an edge, as the platform
// assigns them; BF_SOFT swaps the top-left colours of the two lines.
void edgeColors(UINT edge, UINT flags, std::optional<EdgeColors>* outer,
                std::optional<EdgeColors>* inner) {
  if (edge & BDR_RAISEDOUTER) *outer = EdgeColors{COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  if (edge & BDR_SUNKENOUTER) *outer = EdgeColors{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
  if (edge & BDR_RAISEDINNER) *inner = EdgeColors{COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
  if (edge & BDR_SUNKENINNER) *inner = EdgeColors{COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  if ((flags & BF_SOFT) && *outer && *inner) std::swap((*outer)->topLeft, (*inner)->topLeft);
  if (flags & BF_MONO) {
    if (*outer) *outer = EdgeColors{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    if (*inner) *inner = EdgeColors{COLOR_WINDOW, COLOR_WINDOW};
  } else if (flags & BF_FLAT) {
    if (*outer) *outer = EdgeColors{COLOR_BTNSHADOW, COLOR_BTNSHADOW};
    if (*inner) *inner = EdgeColors{COLOR_BTNFACE, COLOR_BTNFACE};
  }
}

// One ring of an edge; the bottom and right lines take the corners they
// share with the top and left ones.
void edgeRing(DeviceContext& dc, RECT& r, const EdgeColors& colors, UINT flags) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  COLORREF tl = SystemColors::color(colors.topLeft);
  COLORREF br = SystemColors::color(colors.bottomRight);
  if (flags & BF_TOP) ShapeDrawing::fillColor(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, tl);
  if (flags & BF_LEFT) {
    ShapeDrawing::fillColor(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, tl);
  }
  if (flags & BF_BOTTOM) {
    ShapeDrawing::fillColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
  }
  if (flags & BF_RIGHT) {
    ShapeDrawing::fillColor(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
  }
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

double channel(COLOR16 value) {
  return (value >> 8) / 255.0;
}

void addStop(cairo_pattern_t* pattern, double offset, const TRIVERTEX& v) {
  cairo_pattern_add_color_stop_rgb(pattern, offset, channel(v.Red), channel(v.Green),
                                   channel(v.Blue));
}

// The source pixels of a block transfer as the destination sees them:
// monochrome sources take the destination's text and background colours.
CairoSurface sourceArea(DeviceContext& source, DeviceContext& dest, int x, int y, int width,
                        int height) {
  cairo_surface_t* surface = source.targetSurface();
  CairoSurface area(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  if (!surface) return area;
  POINT shift = source.offset();
  POINT origin = source.surfaceOrigin();
  CairoContext cr(cairo_create(area.get()));
  if (source.isMemory() && source.state().bitmap && source.state().bitmap->monochrome()) {
    CairoSurface colored =
        source.state().bitmap->colorized(dest.state().textColor, dest.state().bkColor);
    cairo_set_source_surface(cr.get(), colored.get(), -(x + shift.x), -(y + shift.y));
  } else {
    cairo_set_source_surface(cr.get(), surface, -(origin.x + x + shift.x),
                             -(origin.y + y + shift.y));
  }
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr.get());
  return area;
}

}  // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto context = contextOf(dc);
  auto fill = brushOf(brush);
  if (!context || !fill || !rect) return 0;
  // FillRect paints with the brush as is, whatever the drawing mode.
  int rop = std::exchange(context->state().rop2, R2_COPYPEN);
  ShapeDrawing::fillRect(*context, *rect, *fill);
  context->state().rop2 = rop;
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto context = contextOf(dc);
  auto fill = brushOf(brush);
  if (!context || !fill || !rect) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 0;
  const RECT& r = *rect;
  ShapeDrawing::fillRect(*context, RECT{r.left, r.top, r.right, r.top + 1}, *fill);
  ShapeDrawing::fillRect(*context, RECT{r.left, r.bottom - 1, r.right, r.bottom}, *fill);
  ShapeDrawing::fillRect(*context, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, *fill);
  ShapeDrawing::fillRect(*context, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, *fill);
  return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
  auto context = contextOf(dc);
  if (!context || !rect) return FALSE;
  int rop = std::exchange(context->state().rop2, R2_NOT);
  ShapeDrawing::fillColor(*context, *rect, 0);
  context->state().rop2 = rop;
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  RECT r = normalized(left, top, right, bottom);
  auto pen = context->pen();
  auto brush = context->brush();
  if (pen->isNull()) {
    ShapeDrawing::fillRect(*context, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, *brush);
    return TRUE;
  }
  int w = pen->style() == PS_SOLID || pen->style() == PS_INSIDEFRAME ? pen->width() : 1;
  ShapeDrawing::fillRect(*context, RECT{r.left + w, r.top + w, r.right - w, r.bottom - w}, *brush);
  ShapeDrawing::outlineRect(*context, r, *pen);
  return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  cairo_t* cr = context->begin();
  if (!cr) return TRUE;
  roundRectPath(cr, normalized(left, top, right, bottom), width, height);
  return fillAndStroke(*context, cr);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  cairo_t* cr = context->begin();
  if (!cr) return TRUE;
  ellipsePath(cr, normalized(left, top, right, bottom));
  return fillAndStroke(*context, cr);
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  auto context = contextOf(dc);
  if (!context || !points || count < 2) return FALSE;
  cairo_t* cr = context->begin();
  if (!cr) return TRUE;
  cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
  for (int i = 1; i < count; ++i)
    cairo_line_to(cr, points[i].x + 0.5, points[i].y + 0.5);
  cairo_close_path(cr);
  return fillAndStroke(*context, cr);
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  auto context = contextOf(dc);
  if (!context || !points || count < 2) return FALSE;
  auto pen = context->pen();
  for (int i = 1; i < count; ++i)
    ShapeDrawing::straightLine(*context, points[i - 1], points[i], *pen);
  return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  if (previous) *previous = context->state().position;
  context->state().position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  POINT from = context->state().position;
  ShapeDrawing::straightLine(*context, from, POINT{x, y}, *context->pen());
  context->state().position = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* point) {
  auto context = contextOf(dc);
  if (!context || !point) return FALSE;
  *point = context->state().position;
  return TRUE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  auto context = contextOf(dc);
  if (!context) return CLR_INVALID;
  return context->pixel(POINT{x, y});
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  auto context = contextOf(dc);
  if (!context) return static_cast<COLORREF>(-1);
  int rop = std::exchange(context->state().rop2, R2_COPYPEN);
  ShapeDrawing::fillColor(*context, RECT{x, y, x + 1, y + 1}, color);
  context->state().rop2 = rop;
  return color & 0xFFFFFF;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  auto context = contextOf(dc);
  if (!context || !rect) return FALSE;
  if (flags & BF_DIAGONAL) return TRUE;
  std::optional<EdgeColors> outer, inner;
  edgeColors(edge, flags, &outer, &inner);
  int rop = std::exchange(context->state().rop2, R2_COPYPEN);
  RECT r = *rect;
  if (outer) edgeRing(*context, r, *outer, flags);
  if (inner) edgeRing(*context, r, *inner, flags);
  if (flags & BF_MIDDLE) {
    int face = (flags & BF_MONO) || (flags & BF_FLAT) ? COLOR_WINDOW : COLOR_BTNFACE;
    ShapeDrawing::fillColor(*context, r, SystemColors::color(face));
  }
  context->state().rop2 = rop;
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  auto context = contextOf(dc);
  if (!context || !rect) return FALSE;
  const RECT& r = *rect;
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  cairo_t* cr = context->begin();
  if (!cr) return TRUE;
  // Every other pixel of the border, inverted.
  CairoSurface dots(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2));
  {
    CairoContext paint(cairo_create(dots.get()));
    cairo_set_source_rgb(paint.get(), 1, 1, 1);
    cairo_rectangle(paint.get(), 0, 0, 1, 1);
    cairo_rectangle(paint.get(), 1, 1, 1, 1);
    cairo_fill(paint.get());
  }
  platform::internal::CairoPattern pattern(cairo_pattern_create_for_surface(dots.get()));
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
  cairo_matrix_t matrix;
  cairo_matrix_init_translate(&matrix, -r.left, -r.top);
  cairo_pattern_set_matrix(pattern.get(), &matrix);
  cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_set_source(cr, pattern.get());
  LONG w = r.right - r.left, h = r.bottom - r.top;
  cairo_rectangle(cr, r.left, r.top, w, 1);
  if (h > 1) cairo_rectangle(cr, r.left, r.bottom - 1, w, 1);
  if (h > 2) {
    cairo_rectangle(cr, r.left, r.top + 1, 1, h - 2);
    if (w > 1) cairo_rectangle(cr, r.right - 1, r.top + 1, 1, h - 2);
  }
  cairo_fill(cr);
  return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  RECT r = normalized(x, y, x + width, y + height);
  int saved = context->state().rop2;
  switch (rop) {
    case PATCOPY:
      context->state().rop2 = R2_COPYPEN;
      ShapeDrawing::fillRect(*context, r, *context->brush());
      break;
    case PATINVERT:
      context->state().rop2 = R2_XORPEN;
      ShapeDrawing::fillRect(*context, r, *context->brush());
      break;
    case DSTINVERT:
      context->state().rop2 = R2_NOT;
      ShapeDrawing::fillColor(*context, r, 0);
      break;
    case BLACKNESS:
      context->state().rop2 = R2_COPYPEN;
      ShapeDrawing::fillColor(*context, r, RGB(0, 0, 0));
      break;
    case WHITENESS:
      context->state().rop2 = R2_COPYPEN;
      ShapeDrawing::fillColor(*context, r, RGB(255, 255, 255));
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  context->state().rop2 = saved;
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  if (rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS ||
      rop == WHITENESS) {
    return PatBlt(dest, x, y, width, height, rop);
  }
  auto to = contextOf(dest);
  auto from = contextOf(source);
  if (!to || !from || width <= 0 || height <= 0) return FALSE;
  cairo_operator_t op = CAIRO_OPERATOR_SOURCE;
  switch (rop) {
    case SRCCOPY:
    case NOTSRCCOPY:
      break;
    case SRCINVERT:
      op = CAIRO_OPERATOR_DIFFERENCE;
      break;
    case SRCAND:
      op = CAIRO_OPERATOR_MULTIPLY;
      break;
    case SRCPAINT:
      op = CAIRO_OPERATOR_LIGHTEN;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  CairoSurface area = sourceArea(*from, *to, sourceX, sourceY, width, height);
  cairo_t* cr = to->begin();
  if (!cr) return TRUE;
  cairo_set_source_surface(cr, area.get(), x, y);
  cairo_set_operator(cr, op);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  if (rop == NOTSRCCOPY) {
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
  }
  return TRUE;
}

BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, PVOID mesh, ULONG meshCount,
                  ULONG mode) {
  auto context = contextOf(dc);
  if (!context || !vertices || !mesh) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  cairo_t* cr = context->begin();
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    auto* rects = static_cast<GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      const TRIVERTEX& a = vertices[rects[i].UpperLeft];
      const TRIVERTEX& b = vertices[rects[i].LowerRight];
      RECT r = normalized(a.x, a.y, b.x, b.y);
      if (!cr || r.right <= r.left || r.bottom <= r.top) continue;
      bool horizontal = mode == GRADIENT_FILL_RECT_H;
      platform::internal::CairoPattern gradient(horizontal
                                                    ? cairo_pattern_create_linear(a.x, 0, b.x, 0)
                                                    : cairo_pattern_create_linear(0, a.y, 0, b.y));
      addStop(gradient.get(), 0, a);
      addStop(gradient.get(), 1, b);
      cairo_set_source(cr, gradient.get());
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
      cairo_fill(cr);
    }
    return TRUE;
  }
  if (mode == GRADIENT_FILL_TRIANGLE) {
    auto* triangles = static_cast<GRADIENT_TRIANGLE*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      ULONG ids[3] = {triangles[i].Vertex1, triangles[i].Vertex2, triangles[i].Vertex3};
      if (ids[0] >= vertexCount || ids[1] >= vertexCount || ids[2] >= vertexCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      if (!cr) continue;
      platform::internal::CairoPattern pattern(cairo_pattern_create_mesh());
      cairo_mesh_pattern_begin_patch(pattern.get());
      for (int k = 0; k < 3; ++k) {
        const TRIVERTEX& v = vertices[ids[k]];
        if (k == 0) {
          cairo_mesh_pattern_move_to(pattern.get(), v.x, v.y);
        } else {
          cairo_mesh_pattern_line_to(pattern.get(), v.x, v.y);
        }
      }
      for (int k = 0; k < 3; ++k) {
        const TRIVERTEX& v = vertices[ids[k]];
        cairo_mesh_pattern_set_corner_color_rgb(pattern.get(), static_cast<unsigned>(k),
                                                channel(v.Red), channel(v.Green), channel(v.Blue));
      }
      cairo_mesh_pattern_end_patch(pattern.get());
      cairo_set_source(cr, pattern.get());
      cairo_move_to(cr, vertices[ids[0]].x, vertices[ids[0]].y);
      cairo_line_to(cr, vertices[ids[1]].x, vertices[ids[1]].y);
      cairo_line_to(cr, vertices[ids[2]].x, vertices[ids[2]].y);
      cairo_close_path(cr);
      cairo_fill(cr);
    }
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

// Regions and the clipping of device contexts.
#include <vector>

#include "internal/GdiLookup.h"
#include "internal/ShapeDrawing.h"
#include "platform/gdi.h"

using platform::internal::addObject;
using platform::internal::brushOf;
using platform::internal::contextOf;
using platform::internal::DeviceContext;
using platform::internal::Region;
using platform::internal::RegionObject;
using platform::internal::regionOf;
using platform::internal::ShapeDrawing;

namespace {

int typeOf(const Region& region) {
  if (region.empty()) return NULLREGION;
  return region.isRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

HRGN makeRegion(Region region) {
  return addObject<HRGN>(std::make_shared<RegionObject>(std::move(region)));
}

std::optional<Region::Op> opOf(int mode) {
  switch (mode) {
    case RGN_AND:
      return Region::Op::And;
    case RGN_OR:
      return Region::Op::Or;
    case RGN_XOR:
      return Region::Op::Xor;
    case RGN_DIFF:
      return Region::Op::Diff;
  }
  return std::nullopt;
}

// The clipping region in force, or the whole target when none is selected.
Region currentClip(const DeviceContext& dc) {
  if (dc.state().clip) return *dc.state().clip;
  return Region(RECT{0, 0, dc.size().cx, dc.size().cy});
}

int setClip(DeviceContext& dc, std::optional<Region> clip) {
  dc.state().clip = std::move(clip);
  dc.clipChanged();
  return typeOf(dc.clipArea());
}

RECT deviceRect(const DeviceContext& dc, int left, int top, int right, int bottom) {
  POINT shift = dc.offset();
  return RECT{left + shift.x, top + shift.y, right + shift.x, bottom + shift.y};
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return makeRegion(Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                std::max(top, bottom)}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  return makeRegion(Region::roundRect(RECT{std::min(left, right), std::min(top, bottom),
                                           std::max(left, right), std::max(top, bottom)},
                                      width, height));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  return makeRegion(Region::ellipse(RECT{std::min(left, right), std::min(top, bottom),
                                         std::max(left, right), std::max(top, bottom)}));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return makeRegion(
      Region::polygon(std::span<const POINT>(points, static_cast<size_t>(count)), fillMode));
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  auto out = regionOf(dest);
  auto a = regionOf(source1);
  if (!out || !a) return ERROR;
  if (mode == RGN_COPY) {
    out->region = a->region;
    return typeOf(out->region);
  }
  std::optional<Region::Op> op = opOf(mode);
  auto b = regionOf(source2);
  if (!op || !b) return ERROR;
  out->region = Region::combine(a->region, b->region, *op);
  return typeOf(out->region);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  auto object = regionOf(region);
  if (!object) return FALSE;
  object->region = Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                               std::max(top, bottom)});
  return TRUE;
}

int OffsetRgn(HRGN region, int dx, int dy) {
  auto object = regionOf(region);
  if (!object) return ERROR;
  object->region.offset(dx, dy);
  return typeOf(object->region);
}

int GetRgnBox(HRGN region, RECT* rect) {
  auto object = regionOf(region);
  if (!object || !rect) return ERROR;
  *rect = object->region.bounds();
  return typeOf(object->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  auto object = regionOf(region);
  return object && object->region.contains(POINT{x, y});
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  auto object = regionOf(region);
  return object && rect && object->region.intersects(*rect);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto first = regionOf(a);
  auto second = regionOf(b);
  if (!first || !second) return ERROR;
  return first->region == second->region;
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  auto context = contextOf(dc);
  auto object = regionOf(region);
  auto fill = brushOf(brush);
  if (!context || !object || !fill) return FALSE;
  for (const RECT& r : object->region.rects())
    ShapeDrawing::fillRect(*context, r, *fill);
  return TRUE;
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
  auto context = contextOf(dc);
  auto object = regionOf(region);
  auto fill = brushOf(brush);
  if (!context || !object || !fill || width < 1 || height < 1) return FALSE;
  // The frame is the region less the region shrunk by the frame's size.
  Region inner = object->region;
  for (int dx : {-width, width}) {
    Region moved = object->region;
    moved.offset(dx, 0);
    inner &= moved;
  }
  for (int dy : {-height, height}) {
    Region moved = object->region;
    moved.offset(0, dy);
    inner &= moved;
  }
  Region frame = Region::combine(object->region, inner, Region::Op::Diff);
  for (const RECT& r : frame.rects())
    ShapeDrawing::fillRect(*context, r, *fill);
  return TRUE;
}

int SelectClipRgn(HDC dc, HRGN region) {
  auto context = contextOf(dc);
  if (!context) return ERROR;
  if (!region) return setClip(*context, std::nullopt);
  auto object = regionOf(region);
  if (!object) return ERROR;
  return setClip(*context, object->region);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
  if (mode == RGN_COPY) return SelectClipRgn(dc, region);
  auto context = contextOf(dc);
  auto object = regionOf(region);
  std::optional<Region::Op> op = opOf(mode);
  if (!context || !object || !op) return ERROR;
  return setClip(*context, Region::combine(currentClip(*context), object->region, *op));
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  auto context = contextOf(dc);
  if (!context) return ERROR;
  Region rect(deviceRect(*context, left, top, right, bottom));
  return setClip(*context, Region::combine(currentClip(*context), rect, Region::Op::And));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  auto context = contextOf(dc);
  if (!context) return ERROR;
  Region rect(deviceRect(*context, left, top, right, bottom));
  return setClip(*context, Region::combine(currentClip(*context), rect, Region::Op::Diff));
}

int GetClipBox(HDC dc, RECT* rect) {
  auto context = contextOf(dc);
  if (!context || !rect) return ERROR;
  Region area = context->clipArea();
  *rect = area.bounds();
  POINT shift = context->offset();
  OffsetRect(rect, -shift.x, -shift.y);
  return typeOf(area);
}

int GetClipRgn(HDC dc, HRGN region) {
  auto context = contextOf(dc);
  auto object = regionOf(region);
  if (!context || !object) return -1;
  if (!context->state().clip) return 0;
  object->region = *context->state().clip;
  return 1;
}

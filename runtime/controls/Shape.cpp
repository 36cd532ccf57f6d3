#include "runtime/controls/Shape.h"

#include <algorithm>
#include <vector>

#include "platform/kernel.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kShapeFields[] = {
    RT_COMMON_DESIGN_FIELDS(ShapeDesign),
    {"BackColor", PropertyKind::Long, offsetof(ShapeDesign, backColor)},
    {"BackStyle", PropertyKind::Long, offsetof(ShapeDesign, backStyle)},
    {"BorderColor", PropertyKind::Long, offsetof(ShapeDesign, borderColor)},
    {"BorderStyle", PropertyKind::Long, offsetof(ShapeDesign, borderStyle)},
    {"BorderWidth", PropertyKind::Long, offsetof(ShapeDesign, borderWidth)},
    {"DrawMode", PropertyKind::Long, offsetof(ShapeDesign, drawMode)},
    {"FillColor", PropertyKind::Long, offsetof(ShapeDesign, fillColor)},
    {"FillStyle", PropertyKind::Long, offsetof(ShapeDesign, fillStyle)},
    {"Shape", PropertyKind::Long, offsetof(ShapeDesign, shape)},
    {"FillColor2", PropertyKind::Long, offsetof(ShapeDesign, fillColor2)},
};

// The pen style of a BorderStyle (1 solid, 2 dash, 3 dot, 4 dash-dot,
// 5 dash-dot-dot, 6 inside solid); 0 draws no outline.
int PenStyleOf(LONG borderStyle) {
  switch (borderStyle) {
    case 2:
      return PS_DASH;
    case 3:
      return PS_DOT;
    case 4:
      return PS_DASHDOT;
    case 5:
      return PS_DASHDOTDOT;
    case 6:
      return PS_INSIDEFRAME;
    default:
      return PS_SOLID;
  }
}

// Square and circle figures use the largest centred square of the rectangle.
RECT FigureRect(RECT area, LONG shape) {
  if (shape != figure::Square && shape != figure::Circle && shape != figure::RoundedSquare) {
    return area;
  }
  const LONG side = std::min(area.right - area.left, area.bottom - area.top);
  const LONG x = area.left + (area.right - area.left - side) / 2;
  const LONG y = area.top + (area.bottom - area.top - side) / 2;
  return RECT{x, y, x + side, y + side};
}

// The corners of the polygon figures; false for the other figures.
bool PolygonOf(const RECT& r, LONG shape, std::vector<POINT>& points) {
  const LONG midX = (r.left + r.right) / 2;
  const LONG midY = (r.top + r.bottom) / 2;
  const LONG right = r.right - 1;
  const LONG bottom = r.bottom - 1;
  switch (shape) {
    case figure::Triangle:
      points = {{midX, r.top}, {right, bottom}, {r.left, bottom}};
      return true;
    case figure::Diamond:
      points = {{midX, r.top}, {right, midY}, {midX, bottom}, {r.left, midY}};
      return true;
    default:
      return false;
  }
}

HRGN FigureRegion(const RECT& r, LONG shape) {
  std::vector<POINT> points;
  if (PolygonOf(r, shape, points))
    return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  switch (shape) {
    case figure::Oval:
    case figure::Circle:
      return CreateEllipticRgn(r.left, r.top, r.right + 1, r.bottom + 1);
    case figure::RoundedRectangle:
    case figure::RoundedSquare: {
      const int corner = std::min(r.right - r.left, r.bottom - r.top) / 4;
      return CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, corner, corner);
    }
    default:
      return CreateRectRgn(r.left, r.top, r.right, r.bottom);
  }
}

void DrawFigure(HDC dc, const RECT& r, LONG shape) {
  std::vector<POINT> points;
  if (PolygonOf(r, shape, points)) {
    Polygon(dc, points.data(), static_cast<int>(points.size()));
    return;
  }
  switch (shape) {
    case figure::Oval:
    case figure::Circle:
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      return;
    case figure::RoundedRectangle:
    case figure::RoundedSquare: {
      const int corner = std::min(r.right - r.left, r.bottom - r.top) / 4;
      RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
      return;
    }
    default:
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
      return;
  }
}

COLORREF Converted(int32_t colour) {
  COLORREF rgb = 0;
  TranslateColor(static_cast<OLE_COLOR>(colour), &rgb);
  return rgb;
}

TRIVERTEX VertexOf(LONG x, LONG y, COLORREF rgb) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(rgb) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(rgb) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(rgb) << 8);
  return v;
}

// Fills the figure's region with a gradient over its bounding rectangle.
HRESULT FillGradient(HDC dc, HRGN region, const RECT& area, COLORREF from, COLORREF to,
                     bool vertical) {
  const int saved = SaveDC(dc);
  ExtSelectClipRgn(dc, region, RGN_AND);
  TRIVERTEX corners[] = {VertexOf(area.left, area.top, from),
                         VertexOf(area.right, area.bottom, to)};
  GRADIENT_RECT mesh{0, 1};
  const BOOL done = GradientFill(dc, corners, 2, &mesh, 1,
                                 vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
  const DWORD error = done ? 0 : GetLastError();
  RestoreDC(dc, saved);
  if (done) return S_OK;
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

const PropertyLayout kShapeLayout{"Shape", CLSID_Shape, sizeof(ShapeDesign), kShapeFields,
                                  skiffwire::DIID_ShapeEvents};

Shape::Shape()
    : ControlObject(skiffwire::DIID_ShapeEvents),
      windowless_(std::make_unique<BaseControlWindowlessNoDrag>(dispatch())) {}

const ClassDescriptor& Shape::descriptor() const {
  static const ClassDescriptor cls{u"Shape", &InitialiseRuntimeClass, nullptr, CLSID_Shape};
  return cls;
}

const MemberTable& Shape::Members() {
  using T = Shape;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::repaint);
    t.field<VT_I4>(u"BackStyle", dispid::BackStyle, &T::backStyle_, &T::repaint);
    t.field<VT_COLOUR>(u"BorderColor", dispid::BorderColor, &T::borderColor_, &T::repaint);
    t.field<VT_I4>(u"BorderStyle", dispid::BorderStyle, &T::borderStyle_, &T::repaint);
    t.field<VT_I4>(u"BorderWidth", dispid::BorderWidth, &T::borderWidth_, &T::repaint);
    t.field<VT_I4>(u"DrawMode", dispid::DrawMode, &T::drawMode_, &T::repaint);
    t.field<VT_COLOUR>(u"FillColor", dispid::FillColor, &T::fillColor_, &T::repaint);
    t.field<VT_I4>(u"FillStyle", dispid::FillStyle, &T::fillStyle_, &T::repaint);
    t.field<VT_I4>(u"Shape", dispid::ShapeKind, &T::shape_, &T::repaint);
    t.field<VT_COLOUR>(u"FillColor2", dispid::FillColor2, &T::fillColor2_, &T::repaint);
    t.forward(BaseControlWindowlessNoDrag::Members(), &T::windowless);
    return t;
  }();
  return table;
}

HRESULT Shape::put_FillColor(DWORD colour) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  fillColor_ = static_cast<int32_t>(colour);
  return repaint();
}

HRESULT Shape::repaint() {
  ++repaints_;
  rect()->repaintInContainer();
  return S_OK;
}

HRESULT Shape::fillWindowRecord(WindowRecord& window) {
  window.className.clear();
  window.style = rect()->windowlessVisible() ? WS_VISIBLE : 0;
  window.allowsFocus = false;
  window.clickEvent = NoEvent;
  return S_OK;
}

HRESULT Shape::readDesign(PropertyReader& reader) {
  ShapeDesign design;
  const HRESULT status = reader.readInto(&design, kShapeLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  backColor_ = design.backColor;
  backStyle_ = design.backStyle;
  borderColor_ = design.borderColor;
  borderStyle_ = design.borderStyle;
  borderWidth_ = design.borderWidth;
  drawMode_ = design.drawMode;
  fillColor_ = design.fillColor;
  fillStyle_ = design.fillStyle;
  shape_ = design.shape;
  fillColor2_ = design.fillColor2;
  return S_OK;
}

bool Shape::windowlessRect(RECT* out) {
  *out = rect()->pixelRect();
  return true;
}

void Shape::paintWindowless(HDC dc) {
  const RECT area = FigureRect(rect()->pixelRect(), shape_);
  const int saved = SaveDC(dc);
  SetROP2(dc, drawMode_ >= 1 && drawMode_ <= 16 ? static_cast<int>(drawMode_) : R2_COPYPEN);
  HRGN region = FigureRegion(area, shape_);
  if (backStyle_ == 1) {
    HBRUSH back = CreateSolidBrush(Converted(backColor_));
    FillRgn(dc, region, back);
    DeleteObject(back);
  }
  paintStatus_ = S_OK;
  if (fillStyle_ == kFillGradientHorizontal || fillStyle_ == kFillGradientVertical) {
    paintStatus_ = FillGradient(dc, region, area, Converted(fillColor_), Converted(fillColor2_),
                                fillStyle_ == kFillGradientVertical);
  } else if (fillStyle_ == kFillSolid ||
             (fillStyle_ > kFillTransparent && fillStyle_ <= kFillHatchLast)) {
    HBRUSH fill = fillStyle_ == kFillSolid
                      ? CreateSolidBrush(Converted(fillColor_))
                      : CreateHatchBrush(static_cast<int>(fillStyle_ - 2), Converted(fillColor_));
    FillRgn(dc, region, fill);
    DeleteObject(fill);
  }
  DeleteObject(region);
  if (borderStyle_ != 0) {
    HPEN pen = CreatePen(PenStyleOf(borderStyle_), static_cast<int>(borderWidth_),
                         Converted(borderColor_));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    DrawFigure(dc, area, shape_);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  RestoreDC(dc, saved);
}

}  // namespace rt

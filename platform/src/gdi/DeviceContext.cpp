#include "internal/DeviceContext.h"

#include "internal/GdiHandleTable.h"
#include "internal/StockObjects.h"
#include "internal/WindowVisibility.h"
#include "platform/gdi.h"

namespace platform::internal {
namespace {

void setRgb(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                       GetBValue(color) / 255.0);
}

// How a binary raster operation is drawn: cairo has no bitwise operators, so
// the inverting and masking modes use the blend modes that give the same
// result on black and white and a close one in between.
struct RopEffect {
  bool draws = true;
  cairo_operator_t op = CAIRO_OPERATOR_OVER;
  bool invertColor = false;
  std::optional<COLORREF> fixed;
};

RopEffect ropEffect(int rop2) {
  switch (rop2) {
    case R2_BLACK:
      return {true, CAIRO_OPERATOR_OVER, false, RGB(0, 0, 0)};
    case R2_WHITE:
      return {true, CAIRO_OPERATOR_OVER, false, RGB(255, 255, 255)};
    case R2_NOP:
      return {false, CAIRO_OPERATOR_OVER, false, std::nullopt};
    case R2_NOT:
      return {true, CAIRO_OPERATOR_DIFFERENCE, false, RGB(255, 255, 255)};
    case R2_NOTCOPYPEN:
      return {true, CAIRO_OPERATOR_OVER, true, std::nullopt};
    case R2_XORPEN:
      return {true, CAIRO_OPERATOR_DIFFERENCE, false, std::nullopt};
    case R2_NOTXORPEN:
      return {true, CAIRO_OPERATOR_DIFFERENCE, true, std::nullopt};
    case R2_MASKPEN:
      return {true, CAIRO_OPERATOR_MULTIPLY, false, std::nullopt};
    case R2_MASKNOTPEN:
      return {true, CAIRO_OPERATOR_MULTIPLY, true, std::nullopt};
    case R2_MERGEPEN:
      return {true, CAIRO_OPERATOR_LIGHTEN, false, std::nullopt};
    case R2_MERGENOTPEN:
      return {true, CAIRO_OPERATOR_LIGHTEN, true, std::nullopt};
    default:
      return {};
  }
}

}  // namespace

DeviceContext::DeviceContext() {
  selectDefaults();
}

void DeviceContext::selectDefaults() {
  auto& table = GdiHandleTable::instance();
  state_.penHandle = StockObjects::handle(BLACK_PEN);
  state_.pen = table.findAs<Pen>(state_.penHandle, Kind::Pen);
  state_.brushHandle = StockObjects::handle(WHITE_BRUSH);
  state_.brush = table.findAs<Brush>(state_.brushHandle, Kind::Brush);
  state_.fontHandle = StockObjects::handle(SYSTEM_FONT);
  state_.font = table.findAs<Font>(state_.fontHandle, Kind::Font);
}

std::shared_ptr<DeviceContext> DeviceContext::forWindow(HWND hwnd, bool wholeWindow) {
  std::optional<WindowArea> area = WindowVisibility::areaOf(hwnd, wholeWindow);
  if (!area) return nullptr;
  auto dc = std::make_shared<DeviceContext>();
  dc->window_ = hwnd;
  dc->windowSurface_ = area->surface;
  dc->origin_ = area->origin;
  dc->size_ = area->size;
  dc->visible_ = std::move(area->visible);
  dc->cairo_.reset(cairo_create(dc->windowSurface_->surface()));
  return dc;
}

std::shared_ptr<DeviceContext> DeviceContext::forMemory() {
  auto dc = std::make_shared<DeviceContext>();
  dc->memory_ = true;
  HBITMAP stock = StockObjects::defaultBitmap();
  dc->selectBitmap(stock, GdiHandleTable::instance().findAs<Bitmap>(stock, Kind::Bitmap));
  return dc;
}

std::shared_ptr<DeviceContext> DeviceContext::forScreen() {
  return std::make_shared<DeviceContext>();
}

void DeviceContext::restrictTo(const Region& deviceRegion) {
  Region area = deviceRegion;
  area.offset(origin_.x, origin_.y);
  if (visible_) {
    *visible_ &= area;
  } else {
    visible_ = std::move(area);
  }
  clipDirty_ = true;
}

int DeviceContext::save() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::restore(int level) {
  int count = static_cast<int>(saved_.size());
  if (level < 0) level = count + 1 + level;
  if (level < 1 || level > count) return false;
  State restored = saved_[static_cast<size_t>(level - 1)];
  saved_.resize(static_cast<size_t>(level - 1));
  bool bitmapChanged = restored.bitmap != state_.bitmap;
  if (bitmapChanged && state_.bitmap) state_.bitmap->selected = false;
  state_ = std::move(restored);
  if (bitmapChanged) {
    if (state_.bitmap) state_.bitmap->selected = true;
    rebuildTarget();
  }
  clipDirty_ = true;
  return true;
}

bool DeviceContext::selectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap) {
  if (!memory_ || !bitmap) return false;
  if (bitmap->selected && bitmap != state_.bitmap) return false;
  if (state_.bitmap) state_.bitmap->selected = false;
  bitmap->selected = true;
  state_.bitmapHandle = handle;
  state_.bitmap = std::move(bitmap);
  rebuildTarget();
  return true;
}

void DeviceContext::rebuildTarget() {
  if (!memory_ || !state_.bitmap) return;
  cairo_.reset(cairo_create(state_.bitmap->surface()));
  size_ = SIZE{state_.bitmap->width(), state_.bitmap->height()};
  visible_.reset();
  clipDirty_ = true;
}

std::shared_ptr<Pen> DeviceContext::pen() const {
  if (state_.penHandle == StockObjects::handle(DC_PEN)) {
    return std::make_shared<Pen>(PS_SOLID, 1, state_.dcPenColor);
  }
  return state_.pen;
}

std::shared_ptr<Brush> DeviceContext::brush() const {
  if (state_.brushHandle == StockObjects::handle(DC_BRUSH)) {
    return Brush::solid(state_.dcBrushColor);
  }
  return state_.brush;
}

POINT DeviceContext::offset() const {
  return POINT{state_.viewportOrg.x - state_.windowOrg.x,
               state_.viewportOrg.y - state_.windowOrg.y};
}

Region DeviceContext::clipArea() const {
  Region area(RECT{0, 0, size_.cx, size_.cy});
  if (visible_) {
    Region visible = *visible_;
    visible.offset(-origin_.x, -origin_.y);
    area &= visible;
  }
  if (state_.clip) area &= *state_.clip;
  return area;
}

cairo_surface_t* DeviceContext::targetSurface() const {
  if (memory_) return state_.bitmap ? state_.bitmap->surface() : nullptr;
  return windowSurface_ ? windowSurface_->surface() : nullptr;
}

cairo_t* DeviceContext::begin() {
  cairo_t* cr = cairo_.get();
  if (!cr) return nullptr;
  if (clipDirty_) {
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    Region area = clipArea();
    area.offset(origin_.x, origin_.y);
    cairo_new_path(cr);
    for (const RECT& r : area.rects())
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    clipDirty_ = false;
  }
  POINT shift = offset();
  cairo_identity_matrix(cr);
  cairo_translate(cr, origin_.x + shift.x, origin_.y + shift.y);
  cairo_new_path(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_set_fill_rule(
      cr, state_.polyFillMode == 2 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  return cr;
}

bool DeviceContext::setColorSource(cairo_t* cr, COLORREF color) const {
  RopEffect effect = ropEffect(state_.rop2);
  if (!effect.draws) return false;
  COLORREF drawn = effect.fixed ? *effect.fixed : color;
  if (effect.invertColor) drawn = (~drawn) & 0xFFFFFF;
  cairo_set_operator(cr, effect.op);
  setRgb(cr, drawn);
  return true;
}

bool DeviceContext::setBrushSource(cairo_t* cr, const Brush& brush) const {
  switch (brush.style()) {
    case Brush::Style::Null:
      return false;
    case Brush::Style::Solid:
      return setColorSource(cr, brush.color());
    case Brush::Style::Hatched:
    case Brush::Style::Pattern:
      break;
  }
  RopEffect effect = ropEffect(state_.rop2);
  if (!effect.draws) return false;
  const COLORREF* background = state_.bkMode == 2 ? &state_.bkColor : nullptr;
  CairoPattern pattern = brush.source(state_.textColor, background);
  // Patterns line up with the surface, so neighbouring windows tile alike.
  POINT shift = offset();
  cairo_matrix_t matrix;
  cairo_matrix_init_translate(&matrix, origin_.x + shift.x, origin_.y + shift.y);
  cairo_pattern_set_matrix(pattern.get(), &matrix);
  cairo_set_operator(cr, effect.op);
  cairo_set_source(cr, pattern.get());
  return true;
}

COLORREF DeviceContext::pixel(POINT logical) const {
  cairo_surface_t* surface = targetSurface();
  if (!surface) return CLR_INVALID;
  POINT shift = offset();
  POINT device{logical.x + shift.x, logical.y + shift.y};
  if (!clipArea().contains(device)) return CLR_INVALID;
  int x = origin_.x + device.x, y = origin_.y + device.y;
  cairo_surface_flush(surface);
  if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
      y >= cairo_image_surface_get_height(surface)) {
    return CLR_INVALID;
  }
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  uint32_t value = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride)[x];
  return RGB(static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 8),
             static_cast<BYTE>(value));
}

}  // namespace platform::internal

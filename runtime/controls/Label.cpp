#include "runtime/controls/Label.h"

#include <algorithm>

#include "runtime/controls/ControlIds.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kLabelFields[] = {
    RT_COMMON_DESIGN_FIELDS(LabelDesign),
    {"Caption", PropertyKind::String, offsetof(LabelDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(LabelDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(LabelDesign, foreColor)},
    {"BackStyle", PropertyKind::Long, offsetof(LabelDesign, backStyle)},
    {"Alignment", PropertyKind::Long, offsetof(LabelDesign, alignment)},
    {"BorderStyle", PropertyKind::Long, offsetof(LabelDesign, borderStyle)},
    {"AutoSize", PropertyKind::Boolean, offsetof(LabelDesign, autoSize)},
    {"WordWrap", PropertyKind::Boolean, offsetof(LabelDesign, wordWrap)},
};

// Room the sunken border takes on each side.
constexpr int kBorderPixels = 2;

}  // namespace

const PropertyLayout kLabelLayout{"Label", CLSID_Label, sizeof(LabelDesign), kLabelFields,
                                  skiffwire::DIID_LabelEvents};

Label::Label()
    : ControlObject(skiffwire::DIID_LabelEvents),
      windowless_(std::make_unique<BaseControlWindowlessNoFocus>(dispatch())),
      binder_(std::make_unique<DataFieldBinderBase>()),
      dragDrop_(std::make_unique<OLEDragDropHelper>()) {
  // The caption's font is painted by the container: a change re-fits and
  // repaints the label.
  font_.onChange([this] { fitCaption(); });
}

const ClassDescriptor& Label::descriptor() const {
  static const ClassDescriptor cls{u"Label", &InitialiseRuntimeClass, nullptr, CLSID_Label};
  return cls;
}

const MemberTable& Label::Members() {
  using T = Label;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::repaint);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::repaint);
    t.field<VT_I4>(u"Alignment", dispid::Alignment, &T::alignment_, &T::repaint);
    t.field<VT_I4>(u"BackStyle", dispid::BackStyle, &T::backStyle_, &T::repaint);
    t.field<VT_I4>(u"BorderStyle", dispid::BorderStyle, &T::borderStyle_, &T::fitCaption);
    t.field<VT_BOOL>(u"AutoSize", dispid::AutoSize, &T::autoSize_, &T::fitCaption);
    t.field<VT_BOOL>(u"WordWrap", dispid::WordWrap, &T::wordWrap_, &T::fitCaption);
    t.object(u"Font", dispid::FontMember, &T::getFont);
    t.objectPut(dispid::FontMember, &T::setFont);
    t.text(u"_Default", dispid::Default, &T::get_Caption, &T::put_Caption, /*hidden=*/true);
    t.text(u"Caption", dispid::Caption, &T::get_Caption, &T::put_Caption);
    t.forward(BaseControlWindowlessNoFocus::Members(), &T::windowless);
    t.forward(DataFieldBinderBase::Members(), &T::binder);
    t.forward(OLEDragDropHelper::Members(), &T::dragDrop);
    return t;
  }();
  return table;
}

HRESULT Label::get_Caption(BSTR* caption) {
  if (!caption) return E_POINTER;
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  *caption = Bstr(caption_).release();
  return S_OK;
}

HRESULT Label::put_Caption(BSTR caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  Bstr wanted(std::u16string_view(caption ? caption : u"", SysStringLen(caption)));
  if (VarBstrCmp(caption_.get(), wanted.get(), 0, 0x30001) == VARCMP_EQ) return S_OK;
  caption_ = std::move(wanted);
  fitCaption();
  return raise(kLabelChange);
}

HRESULT Label::fitCaption() {
  ControlRecord* own = record();
  if (!autoSize_ || !own) return repaint();
  const int dpi = own->form ? own->form->dpi : own->placement.formDpi;
  const RECT current = rect()->pixelRect();
  const int border = borderStyle_ == 1 ? 2 * kBorderPixels : 0;
  // Measured in a memory DC with the caption's font, as it will be painted.
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = font_.createFont(dpi);
  HGDIOBJ previous = SelectObject(dc, font);
  const std::u16string text(caption_.view());
  RECT measured{0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX;
  if (wordWrap_) {
    measured.right = std::max<LONG>(1, current.right - current.left - border);
    format |= DT_WORDBREAK;
  }
  if (text.empty()) {
    // An empty caption keeps the height of one line.
    SIZE line{};
    GetTextExtentPoint32W(dc, u" ", 1, &line);
    measured.bottom = line.cy;
  } else {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format);
  }
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  const int width = wordWrap_ ? current.right - current.left : measured.right + border;
  const int height = measured.bottom + border;
  // Pixels of the form back into the container's scale units.
  const double perPixelX = own->outerScale.factorX * 96.0 / dpi;
  const double perPixelY = own->outerScale.factorY * 96.0 / dpi;
  if (!own->container) {
    // Not placed yet: the placement waits for the layout.
    own->placement.width = width * perPixelX;
    own->placement.height = height * perPixelY;
    return S_OK;
  }
  const HRESULT wide = rect()->putWidth(width * perPixelX);
  if (FAILED(wide)) return wide;
  const HRESULT tall = rect()->putHeight(height * perPixelY);
  if (FAILED(tall)) return tall;
  return repaint();
}

HRESULT Label::repaint() {
  rect()->repaintInContainer();
  return S_OK;
}

HRESULT Label::fillWindowRecord(WindowRecord& window) {
  window.className.clear();
  window.style = rect()->windowlessVisible() ? WS_VISIBLE : 0;
  window.allowsFocus = false;
  UseSharedMouseEvents(window);
  return S_OK;
}

HRESULT Label::readDesign(PropertyReader& reader) {
  LabelDesign design;
  const HRESULT status = reader.readInto(&design, kLabelLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  caption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  backStyle_ = design.backStyle;
  alignment_ = design.alignment;
  autoSize_ = design.autoSize;
  wordWrap_ = design.wordWrap;
  borderStyle_ = design.borderStyle;
  return S_OK;
}

bool Label::windowlessRect(RECT* out) {
  *out = rect()->pixelRect();
  return true;
}

void Label::paintWindowless(HDC dc) {
  RECT area = rect()->pixelRect();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  COLORREF back = 0;
  if (backStyle_ == 1 && SUCCEEDED(TranslateColor(static_cast<OLE_COLOR>(backColor_), &back))) {
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  if (borderStyle_ == 1) DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  COLORREF fore = 0;
  if (SUCCEEDED(TranslateColor(static_cast<OLE_COLOR>(foreColor_), &fore))) SetTextColor(dc, fore);
  SetBkMode(dc, TRANSPARENT);
  const ControlRecord* own = record();
  const int dpi = own && own->form ? own->form->dpi : 96;
  HFONT font = font_.createFont(dpi);
  HGDIOBJ previous = SelectObject(dc, font);
  const UINT align = alignment_ == 1 ? DT_RIGHT : alignment_ == 2 ? DT_CENTER : DT_LEFT;
  const std::u16string text(caption_.view());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, align | DT_WORDBREAK);
  SelectObject(dc, previous);
  DeleteObject(font);
  RestoreDC(dc, saved);
}

}  // namespace rt

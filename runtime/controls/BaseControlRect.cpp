#include "runtime/controls/BaseControlRect.h"

#include <array>
#include <vector>

#include "runtime/controls/ControlIds.h"
#include "runtime/controls/OleColor.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowCreation.h"

namespace rt {
namespace {

HRESULT NoWindow() {
  return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
}

int ToPixels(double value, double origin, double factor, int dpi) {
  if (factor == 0) factor = 15;
  double pixels = (value - origin) / factor;
  if (dpi != 96) pixels = pixels * dpi / 96.0;
  return RoundLayout(pixels);
}

ComPtr<EngineContainer> ContainerOf(ControlRecord* record) {
  if (!record || !record->container) return nullptr;
  EngineControl* object = ObjectOf(*record->container);
  if (!object) return nullptr;
  ComPtr<EngineContainer> container;
  object->QueryInterface(IID_EngineContainer, reinterpret_cast<void**>(&container));
  return container;
}

}  // namespace

HRESULT ReadColourByName(IDispatch* control, std::u16string name, COLORREF* rgb) {
  if (!control) return E_POINTER;
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT status = control->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  if (FAILED(status)) return status;
  DISPPARAMS none{};
  Variant value;
  status =
      control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.out(), nullptr, nullptr);
  if (FAILED(status)) return status;
  Variant asLong;
  status = ConvertArgument(value, VT_I4, asLong);
  if (FAILED(status)) return status;
  return TranslateColor(static_cast<OLE_COLOR>(asLong.lVal), rgb);
}

BaseControlRect::BaseControlRect(IDispatch* outer) : base_(std::make_unique<BaseControl>(outer)) {}

BaseControlRect::~BaseControlRect() {
  if (brush_) DeleteObject(brush_);
}

const ClassDescriptor& BaseControlRect::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlRect", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlRect::Members() {
  using T = BaseControlRect;
  static const MemberTable table = [] {
    MemberTable t;
    t.property<VT_I4>(u"hWnd", dispid::Hwnd, &T::getHwnd);
    t.property<VT_R8>(u"Left", dispid::Left, &T::getLeft, &T::putLeft);
    t.property<VT_R8>(u"Top", dispid::Top, &T::getTop, &T::putTop);
    t.property<VT_R8>(u"Width", dispid::Width, &T::getWidth, &T::putWidth);
    t.property<VT_R8>(u"Height", dispid::Height, &T::getHeight, &T::putHeight);
    t.property<VT_BOOL>(u"Visible", dispid::Visible, &T::getVisible, &T::putVisible);
    t.property<VT_BOOL>(u"Enabled", dispid::Enabled, &T::getEnabled, &T::putEnabled);
    t.property<VT_I2>(u"MousePointer", dispid::MousePointer, &T::getMousePointer,
                      &T::putMousePointer);
    t.text(u"ToolTipText", dispid::ToolTipText, &T::getToolTipText, &T::putToolTipText);
    t.method(u"Refresh", dispid::Refresh, &T::Refresh);
    t.method(u"SetFocus", dispid::SetFocus, &T::SetFocus);
    t.forward(BaseControl::Members(), &T::base);
    return t;
  }();
  return table;
}

HWND BaseControlRect::hwnd() const {
  const ControlRecord* r = record();
  return r ? r->window.hwnd : nullptr;
}

HRESULT BaseControlRect::getHwnd(LONG* value) {
  if (!value) return E_POINTER;
  *value = static_cast<LONG>(reinterpret_cast<intptr_t>(hwnd()));
  return S_OK;
}

HRESULT BaseControlRect::edge(EngineContainer::Edge which, DOUBLE* value) {
  if (!value) return E_POINTER;
  ControlRecord* r = record();
  ComPtr<EngineContainer> container = ContainerOf(r);
  if (!container) return NoWindow();
  return container->childValue(*r, which, value);
}

HRESULT BaseControlRect::setEdge(EngineContainer::Edge which, DOUBLE value) {
  ControlRecord* r = record();
  ComPtr<EngineContainer> container = ContainerOf(r);
  if (!container) return NoWindow();
  return container->setChildValue(*r, which, value);
}

HRESULT BaseControlRect::getVisible(VARIANT_BOOL* visible) {
  if (!visible) return E_POINTER;
  const ControlRecord* r = record();
  bool shown = visible_;
  if (HWND h = hwnd())
    shown = (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
  else if (r && !r->window.className.empty())
    shown = (r->window.style & WS_VISIBLE) != 0;
  *visible = shown ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT BaseControlRect::putVisible(VARIANT_BOOL visible) {
  visible_ = visible != 0;
  ControlRecord* r = record();
  if (HWND h = hwnd()) {
    ShowWindow(h, visible_ ? SW_SHOW : SW_HIDE);
    return S_OK;
  }
  if (r) {
    // Before the window exists the flag decides whether creation shows it.
    r->window.visibleRequested = visible_;
    if (visible_)
      r->window.style |= WS_VISIBLE;
    else
      r->window.style &= ~WS_VISIBLE;
    if (r->window.className.empty()) repaintInContainer();
  }
  return S_OK;
}

HRESULT BaseControlRect::getEnabled(VARIANT_BOOL* enabled) {
  if (!enabled) return E_POINTER;
  bool on = enabled_;
  if (HWND h = hwnd()) on = (GetWindowLongW(h, GWL_STYLE) & WS_DISABLED) == 0;
  *enabled = on ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT BaseControlRect::putEnabled(VARIANT_BOOL enabled) {
  enabled_ = enabled != 0;
  if (HWND h = hwnd()) {
    EnableWindow(h, enabled_ ? TRUE : FALSE);
    return S_OK;
  }
  if (ControlRecord* r = record()) {
    if (enabled_)
      r->window.style &= ~WS_DISABLED;
    else
      r->window.style |= WS_DISABLED;
    if (r->window.className.empty()) repaintInContainer();
  }
  return S_OK;
}

HRESULT BaseControlRect::getMousePointer(SHORT* pointer) {
  if (!pointer) return E_POINTER;
  *pointer = mousePointer_;
  return S_OK;
}

HRESULT BaseControlRect::putMousePointer(SHORT pointer) {
  if (pointer < 0 || pointer > 18)
    return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  mousePointer_ = pointer;
  return S_OK;
}

HRESULT BaseControlRect::getToolTipText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = Bstr(toolTip_.view()).release();
  return S_OK;
}

// Only stored: the bubble asks for the text each time the mouse arms it, so
// a new text shows from the next hover on.
HRESULT BaseControlRect::putToolTipText(BSTR text) {
  toolTip_ = Bstr(std::u16string_view(text ? text : u"", SysStringLen(text)));
  return S_OK;
}

HRESULT BaseControlRect::Refresh() {
  if (HWND h = hwnd()) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return S_OK;
  }
  repaintInContainer();
  return S_OK;
}

HRESULT BaseControlRect::SetFocus() {
  HWND h = hwnd();
  if (!h) return NoWindow();
  ::SetFocus(h);
  return S_OK;
}

HRESULT BaseControlRect::sendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND h = hwnd();
  if (!h) return NoWindow();
  const LRESULT answer = SendMessageW(h, message, wParam, lParam);
  if (result) *result = answer;
  return S_OK;
}

HRESULT BaseControlRect::windowText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  HWND h = hwnd();
  if (!h) {
    const ControlRecord* r = record();
    if (r) *text = Bstr(r->window.text).release();
    return S_OK;
  }
  // Most texts of a form are short: one WM_GETTEXT into a small buffer reads
  // them; a text that fills it is read again at its length.
  std::array<char16_t, 128> small{};
  const LRESULT first =
      SendMessageW(h, WM_GETTEXT, small.size(), reinterpret_cast<LPARAM>(small.data()));
  if (first >= 0 && static_cast<size_t>(first) + 1 < small.size()) {
    *text = Bstr(std::u16string_view(small.data(), static_cast<size_t>(first))).release();
    return S_OK;
  }
  const LRESULT length = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::u16string buffer(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT copied =
      SendMessageW(h, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<size_t>(copied));
  *text = Bstr(buffer).release();
  return S_OK;
}

HRESULT BaseControlRect::setWindowText(BSTR text) {
  const std::u16string_view view(text ? text : u"", SysStringLen(text));
  HWND h = hwnd();
  if (!h) {
    if (ControlRecord* r = record()) r->window.text = view;
    return S_OK;
  }
  const std::u16string copy(view);
  SetWindowTextW(h, copy.c_str());
  return S_OK;
}

DWORD BaseControlRect::style(int index) const {
  HWND h = hwnd();
  if (h) return static_cast<DWORD>(GetWindowLongW(h, index));
  const ControlRecord* r = record();
  if (!r) return 0;
  return index == GWL_STYLE ? r->window.style : r->window.exStyle;
}

HRESULT BaseControlRect::changeStyle(int index, DWORD clear, DWORD set) {
  HWND h = hwnd();
  if (!h) {
    ControlRecord* r = record();
    if (!r) return NoWindow();
    DWORD& bits = index == GWL_STYLE ? r->window.style : r->window.exStyle;
    bits = (bits & ~clear) | set;
    return S_OK;
  }
  const DWORD old = static_cast<DWORD>(GetWindowLongW(h, index));
  const DWORD updated = (old & ~clear) | set;
  if (updated != old) SetWindowLongW(h, index, static_cast<LONG>(updated));
  return S_OK;
}

RECT BaseControlRect::pixelRect() const {
  RECT rect{};
  const ControlRecord* r = record();
  if (!r) return rect;
  const Scale& scale = r->outerScale;
  const int dpi = r->form ? r->form->dpi : r->placement.formDpi;
  rect.left = ToPixels(r->placement.left, scale.originX, scale.factorX, dpi);
  rect.top = ToPixels(r->placement.top, scale.originY, scale.factorY, dpi);
  rect.right = rect.left + ToPixels(r->placement.width, 0, scale.factorX, dpi);
  rect.bottom = rect.top + ToPixels(r->placement.height, 0, scale.factorY, dpi);
  return rect;
}

void BaseControlRect::repaintInContainer() {
  ControlRecord* r = record();
  ComPtr<EngineContainer> container = ContainerOf(r);
  if (!container) return;
  HWND parent = container->childParentWindow();
  if (!parent) return;
  const RECT rect = pixelRect();
  InvalidateRect(parent, &rect, TRUE);
}

void BaseControlRect::answerColour(HDC dc, LRESULT* brush) {
  IDispatch* control = base_ ? base_->outer() : nullptr;
  COLORREF fore = 0;
  if (SUCCEEDED(ReadColourByName(control, u"ForeColor", &fore))) SetTextColor(dc, fore);
  SetBkMode(dc, TRANSPARENT);
  COLORREF back = 0;
  if (FAILED(ReadColourByName(control, u"BackColor", &back))) return;
  HBRUSH made = CreateSolidBrush(back);
  if (brush_) DeleteObject(brush_);
  brush_ = made;
  SetBkColor(dc, back);
  if (brush) *brush = reinterpret_cast<LRESULT>(made);
}

}  // namespace rt

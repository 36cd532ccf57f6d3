#include "runtime/controls/Frame.h"

#include <string>

#include "platform/controls.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/LayeredAttributes.h"
#include "runtime/controls/internal/LateBound.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kFrameFields[] = {
    RT_COMMON_DESIGN_FIELDS(FrameDesign),
    {"Caption", PropertyKind::String, offsetof(FrameDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(FrameDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(FrameDesign, foreColor)},
    {"ClipControls", PropertyKind::Boolean, offsetof(FrameDesign, clipControls)},
    {"BorderStyle", PropertyKind::Long, offsetof(FrameDesign, borderStyle)},
    {"Appearance", PropertyKind::Long, offsetof(FrameDesign, appearance)},
};

}  // namespace

const PropertyLayout kFrameLayout{"Frame", CLSID_Frame, sizeof(FrameDesign), kFrameFields,
                                  DIID_FrameEvents};

Frame::Frame()
    : ControlObject(DIID_FrameEvents),
      notFocusable_(std::make_unique<BaseControlNotFocusable2>(dispatch())),
      dragDrop_(std::make_unique<OLEDragDropHelper>()) {}

const ClassDescriptor& Frame::descriptor() const {
  static const ClassDescriptor cls{u"Frame", &InitialiseRuntimeClass, nullptr, CLSID_Frame};
  return cls;
}

const MemberTable& Frame::Members() {
  using T = Frame;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::refresh);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::refresh);
    t.field<VT_BOOL>(u"ClipControls", dispid::ClipControls, &T::clipControls_,
                     &T::applyClipControls);
    t.field<VT_I4>(u"BorderStyle", dispid::BorderStyle, &T::borderStyle_);
    t.field<VT_R8>(u"Opacity", dispid::Opacity, &T::opacity_, &T::applyLayered);
    t.field<VT_COLOUR>(u"TransparencyKey", dispid::TransparencyKey, &T::transparencyKey_,
                       &T::applyLayered);
    t.text(u"Caption", dispid::Caption, &T::getCaption, &T::putCaption);
    t.text(u"_Default", dispid::Default, &T::getCaption, &T::putCaption, /*hidden=*/true);
    t.forward(OLEDragDropHelper::Members(), &T::dragDrop);
    t.forward(BaseControlNotFocusable2::Members(), &T::notFocusable);
    return t;
  }();
  return table;
}

HRESULT Frame::getCaption(BSTR* caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->windowText(caption);
}

HRESULT Frame::putCaption(BSTR caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (!hwnd()) return rect()->setWindowText(caption);
  const std::u16string text(caption ? caption : u"", SysStringLen(caption));
  return rect()->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HRESULT Frame::refresh() {
  return rect()->Refresh();
}

// Clipping decides whether the group box paints over its children, so
// they repaint once it changed.
HRESULT Frame::applyClipControls() {
  const HRESULT status =
      rect()->changeStyle(GWL_STYLE, WS_CLIPCHILDREN, clipControls_ ? WS_CLIPCHILDREN : 0);
  if (FAILED(status) || !hwnd()) return status;
  std::vector<HWND> children;
  if (FAILED(childWindows(children))) {
    // A form without a controls collection: every child window repaints.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return S_OK;
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  for (HWND child : children)
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return S_OK;
}

HRESULT Frame::childWindows(std::vector<HWND>& windows) {
  windows.clear();
  ComPtr<IDispatch> parent;
  HRESULT status = GetObjectByName(dispatch(), u"Parent", parent);
  if (FAILED(status)) return status;
  ComPtr<IDispatch> controls;
  status = GetObjectByName(parent.Get(), u"Controls", controls);
  if (FAILED(status)) return status;
  Variant count;
  status = GetPropertyByName(controls.Get(), u"Count", count);
  if (FAILED(status)) return status;
  Variant total;
  status = ConvertArgument(count, VT_I4, total);
  if (FAILED(status)) return status;
  for (LONG i = 0; i < total.lVal; ++i) {
    // A member that is not a placed control (no Container, no window) is
    // not one of the frame's children.
    ComPtr<IDispatch> control;
    if (FAILED(ItemAt(controls.Get(), i, control))) continue;
    ComPtr<IDispatch> container;
    if (FAILED(GetObjectByName(control.Get(), u"Container", container))) continue;
    if (!SameObject(container.Get(), dispatch())) continue;
    Variant handle;
    if (FAILED(GetPropertyByName(control.Get(), u"hWnd", handle))) continue;
    Variant asLong;
    if (FAILED(ConvertArgument(handle, VT_I4, asLong)) || asLong.lVal == 0) continue;
    windows.push_back(reinterpret_cast<HWND>(static_cast<intptr_t>(asLong.lVal)));
  }
  return S_OK;
}

HRESULT Frame::applyLayered() {
  return ApplyLayeredAttributes(hwnd(), opacity_, transparencyKey_);
}

HRESULT Frame::fillWindowRecord(WindowRecord& window) {
  window.className = u"BrammelFrame";
  // A caption written before the window exists is already in the record.
  if (window.text.empty()) window.text = designCaption_.view();
  window.style = WS_CHILD | BS_GROUPBOX;
  if (appearance_ != 1) window.style |= BS_FLAT;
  if (clipControls_) window.style |= WS_CLIPCHILDREN;
  if (rect()->windowlessVisible()) window.style |= WS_VISIBLE;
  if (!rect()->windowlessEnabled()) window.style |= WS_DISABLED;
  window.exStyle = 0;
  window.allowsFocus = false;
  UseSharedMouseEvents(window);
  AddEventSink(window, this);
  return S_OK;
}

HRESULT Frame::readDesign(PropertyReader& reader) {
  FrameDesign design;
  const HRESULT status = reader.readInto(&design, kFrameLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  designCaption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  clipControls_ = design.clipControls;
  borderStyle_ = design.borderStyle;
  appearance_ = design.appearance;
  return S_OK;
}

void Frame::afterCreate(HWND) {
  if (!hwnd()) return;
  notFocusable_->font()->applyFont();
  applyLayered();
}

// The group box is drawn by its class; the windowless children inside the
// frame are painted over it the way a form paints them.
bool Frame::onMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) {
  const ControlRecord* own = record();
  if (msg != WM_PAINT || !own || !hwnd()) return false;
  WNDCLASSW button{};
  if (!GetClassInfoW(nullptr, u"BUTTON", &button) || !button.lpfnWndProc) return false;
  *result = CallWindowProcW(button.lpfnWndProc, hwnd(), msg, 0, 0);
  HDC dc = GetDC(hwnd());
  Form::PaintWindowlessChildren(*own, dc);
  ReleaseDC(hwnd(), dc);
  return true;
}

HRESULT Frame::childValue(ControlRecord& child, Edge edge, double* value) {
  return ChildEdgeValue(child, edge, value);
}

HRESULT Frame::setChildValue(ControlRecord& child, Edge edge, double value) {
  return SetChildEdgeValue(child, edge, value, childParentWindow());
}

}  // namespace rt

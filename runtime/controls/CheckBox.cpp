#include "runtime/controls/CheckBox.h"

#include <string>

#include "platform/controls.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kCheckBoxFields[] = {
    RT_COMMON_DESIGN_FIELDS(CheckBoxDesign),
    {"Caption", PropertyKind::String, offsetof(CheckBoxDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(CheckBoxDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(CheckBoxDesign, foreColor)},
    {"Value", PropertyKind::Long, offsetof(CheckBoxDesign, value)},
    {"Style", PropertyKind::Long, offsetof(CheckBoxDesign, style)},
};

}  // namespace

const PropertyLayout kCheckBoxLayout{"CheckBox", CLSID_CheckBox, sizeof(CheckBoxDesign),
                                     kCheckBoxFields, skiffwire::DIID_CheckBoxEvents};

CheckBox::CheckBox()
    : ControlObject(skiffwire::DIID_CheckBoxEvents),
      focusable_(std::make_unique<BaseControlFocusable>(dispatch())),
      button_(std::make_unique<ButtonBase>()),
      binder_(std::make_unique<DataFieldBinderBase>()) {}

const ClassDescriptor& CheckBox::descriptor() const {
  static const ClassDescriptor cls{u"CheckBox", &InitialiseRuntimeClass, nullptr, CLSID_CheckBox};
  return cls;
}

const MemberTable& CheckBox::Members() {
  using T = CheckBox;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::refresh);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::refresh);
    t.text(u"Caption", dispid::Caption, &T::getCaption, &T::putCaption);
    t.property<VT_I2>(u"Value", dispid::Value, &T::get_Value, &T::put_Value);
    t.forward(DataFieldBinderBase::Members(), &T::binder);
    t.forward(ButtonBase::Members(), &T::button);
    t.forward(BaseControlFocusable::Members(), &T::focusable);
    return t;
  }();
  return table;
}

HRESULT CheckBox::get_Value(SHORT* value) {
  if (!value) return E_POINTER;
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (button_->style_ == 1 || !hwnd()) {
    *value = value_;
    return S_OK;
  }
  LRESULT state = 0;
  const HRESULT status = rect()->sendMessage(BM_GETCHECK, 0, 0, &state);
  *value = static_cast<SHORT>(state);
  return status;
}

HRESULT CheckBox::put_Value(SHORT value) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (value < 0) return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  SHORT current = 0;
  HRESULT status = get_Value(&current);
  if (FAILED(status)) return status;
  if (value == current) return S_OK;
  value_ = value;
  if (button_->style_ == 1 || !hwnd()) {
    refresh();
  } else {
    status = rect()->sendMessage(BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (FAILED(status)) return status;
  }
  if (!suppressEvents_) status = raise(EventClick);
  binder_->markChanged();
  return status;
}

HRESULT CheckBox::getCaption(BSTR* caption) {
  return rect()->windowText(caption);
}

HRESULT CheckBox::putCaption(BSTR caption) {
  if (!hwnd()) return rect()->setWindowText(caption);
  const std::u16string text(caption ? caption : u"", SysStringLen(caption));
  return rect()->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HRESULT CheckBox::refresh() {
  return rect()->Refresh();
}

HRESULT CheckBox::fillWindowRecord(WindowRecord& window) {
  window.className = u"BrammelCheckBox";
  // A caption written before the window exists is already in the record.
  if (window.text.empty()) window.text = designCaption_.view();
  // A three-state button, so the window keeps Value 2 (grayed); it never
  // changes its own state: a user's click is turned into Value here.
  window.style = WS_CHILD | WS_TABSTOP | (button_->style_ == 1 ? BS_OWNERDRAW : BS_3STATE);
  if (rect()->windowlessVisible()) window.style |= WS_VISIBLE;
  if (!rect()->windowlessEnabled()) window.style |= WS_DISABLED;
  window.exStyle = 0;
  // The Click of a user's press comes from the value change (command below).
  window.clickEvent = NoEvent;
  window.mouseDownEvent = EventMouseDown;
  window.mouseMoveEvent = EventMouseMove;
  window.mouseUpEvent = EventMouseUp;
  AddEventSink(window, this);
  return S_OK;
}

HRESULT CheckBox::readDesign(PropertyReader& reader) {
  CheckBoxDesign design;
  const HRESULT status = reader.readInto(&design, kCheckBoxLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  tabIndex_ = design.common.tabIndex;
  designCaption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  value_ = static_cast<SHORT>(design.value);
  button_->style_ = static_cast<SHORT>(design.style);
  return S_OK;
}

void CheckBox::afterCreate(HWND) {
  if (!hwnd()) return;
  focusable_->font()->applyFont();
  if (button_->style_ != 1) rect()->sendMessage(BM_SETCHECK, static_cast<WPARAM>(value_), 0);
}

bool CheckBox::tabIndex(int32_t* index) {
  *index = tabIndex_;
  return true;
}

// A user's click on a two-state box toggles it and raises Click; a grayed
// box becomes unchecked.
bool CheckBox::command(WORD notifyCode) {
  if (notifyCode != BN_CLICKED) return false;
  SHORT current = 0;
  if (FAILED(get_Value(&current))) return false;
  ComPtr<IDispatch> hold(dispatch());
  put_Value(current == 0 ? 1 : 0);
  return true;
}

}  // namespace rt

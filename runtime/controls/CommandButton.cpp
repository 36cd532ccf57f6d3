#include "runtime/controls/CommandButton.h"

#include <string>

#include "platform/controls.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kCommandButtonFields[] = {
    RT_COMMON_DESIGN_FIELDS(CommandButtonDesign),
    {"Caption", PropertyKind::String, offsetof(CommandButtonDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(CommandButtonDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(CommandButtonDesign, foreColor)},
    {"Cancel", PropertyKind::Boolean, offsetof(CommandButtonDesign, cancel)},
    {"Default", PropertyKind::Boolean, offsetof(CommandButtonDesign, isDefault)},
    {"Style", PropertyKind::Long, offsetof(CommandButtonDesign, style)},
};

}  // namespace

const PropertyLayout kCommandButtonLayout{"CommandButton", CLSID_CommandButton,
                                          sizeof(CommandButtonDesign), kCommandButtonFields,
                                          skiffwire::DIID_CommandButtonEvents};

CommandButton::CommandButton()
    : ControlObject(skiffwire::DIID_CommandButtonEvents),
      focusable_(std::make_unique<BaseControlFocusable>(dispatch())),
      button_(std::make_unique<ButtonBase>()) {}

const ClassDescriptor& CommandButton::descriptor() const {
  static const ClassDescriptor cls{u"CommandButton", &InitialiseRuntimeClass, nullptr,
                                   CLSID_CommandButton};
  return cls;
}

const MemberTable& CommandButton::Members() {
  using T = CommandButton;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_BOOL>(u"Cancel", dispid::Cancel, &T::cancel_);
    t.field<VT_BOOL>(u"Default", dispid::DefaultButton, &T::default_, &T::applyDefault);
    t.property<VT_BOOL>(u"Value", dispid::Value, &T::getValue, &T::putValue);
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::refresh);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::refresh);
    t.text(u"Caption", dispid::Caption, &T::get_Caption, &T::put_Caption);
    t.forward(BaseControlFocusable::Members(), &T::focusable);
    t.forward(ButtonBase::Members(), &T::button);
    return t;
  }();
  return table;
}

HRESULT CommandButton::get_Caption(BSTR* caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->windowText(caption);
}

// WM_SETTEXT every time: the caption is not compared, and no event follows.
HRESULT CommandButton::put_Caption(BSTR caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (!hwnd()) return rect()->setWindowText(caption);
  const std::u16string text(caption ? caption : u"", SysStringLen(caption));
  return rect()->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HRESULT CommandButton::put_Enabled(VARIANT_BOOL enabled) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->putEnabled(enabled);
}

HRESULT CommandButton::getValue(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = value_;
  return S_OK;
}

// True clicks the button, also when it is disabled; the value reads back
// False once the click has been delivered.
HRESULT CommandButton::putValue(VARIANT_BOOL value) {
  value_ = value ? VARIANT_TRUE : VARIANT_FALSE;
  if (!value_) return S_OK;
  const HRESULT status = raise(EventClick);
  value_ = VARIANT_FALSE;
  return status;
}

HRESULT CommandButton::applyDefault() {
  if (button_->style_ == 1) return S_OK;  // owner drawn: no push-button style bits
  return rect()->changeStyle(GWL_STYLE, BS_DEFPUSHBUTTON, default_ ? BS_DEFPUSHBUTTON : 0);
}

HRESULT CommandButton::refresh() {
  return rect()->Refresh();
}

HRESULT CommandButton::fillWindowRecord(WindowRecord& window) {
  window.className = u"BrammelCommandButton";
  // A caption written before the window exists is already in the record.
  if (window.text.empty()) window.text = designCaption_.view();
  window.style = WS_CHILD | WS_TABSTOP | (button_->style_ == 1 ? BS_OWNERDRAW : BS_MULTILINE);
  if (default_ && button_->style_ != 1) window.style |= BS_DEFPUSHBUTTON;
  if (rect()->windowlessVisible()) window.style |= WS_VISIBLE;
  if (!rect()->windowlessEnabled()) window.style |= WS_DISABLED;
  window.exStyle = 0;
  UseSharedMouseEvents(window);
  AddEventSink(window, this);
  return S_OK;
}

HRESULT CommandButton::readDesign(PropertyReader& reader) {
  CommandButtonDesign design;
  const HRESULT status = reader.readInto(&design, kCommandButtonLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  tabIndex_ = design.common.tabIndex;
  designCaption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  cancel_ = design.cancel;
  default_ = design.isDefault;
  button_->style_ = static_cast<SHORT>(design.style);
  return S_OK;
}

void CommandButton::afterCreate(HWND) {
  if (!hwnd()) return;
  focusable_->font()->applyFont();
  applyDefault();
}

bool CommandButton::tabIndex(int32_t* index) {
  *index = tabIndex_;
  return true;
}

}  // namespace rt

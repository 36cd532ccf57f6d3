// The CheckBox: a check button ("BrammelCheckBox") whose Value (0 unchecked,
// 1 checked, 2 grayed) and Caption are properties of the control. Click
// (0xEAEA0004) follows a Value let that changes the value and a click of
// the user.
#pragma once

#include <memory>

#include "app/members/ICheckBox.h"
#include "runtime/controls/BaseControlFocusable.h"
#include "runtime/controls/ButtonBase.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/DataFieldBinderBase.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4EF8-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_CheckBox{
    0x33AD4EF8, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

struct CheckBoxDesign {
  CommonDesign common;
  Bstr caption;
  int32_t backColor = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor = static_cast<int32_t>(colour::ButtonText);
  int32_t value = 0;
  int32_t style = 0;
};
extern const PropertyLayout kCheckBoxLayout;

class CheckBox final : public ControlObject<CheckBox, skiffwire::ICheckBox> {
 public:
  CheckBox();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return focusable_ ? focusable_->rect() : nullptr; }
  BaseControlFocusable* focusable() { return focusable_.get(); }
  ButtonBase* button() { return button_.get(); }
  DataFieldBinderBase* binder() { return binder_.get(); }

  // --- ICheckBox
  HRESULT get_Value(SHORT* value) override;
  HRESULT put_Value(SHORT value) override;

  HRESULT getCaption(BSTR* caption);
  HRESULT putCaption(BSTR caption);
  HRESULT refresh();

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  bool tabIndex(int32_t* index) override;

  // --- WindowEventSink
  bool command(WORD notifyCode) override;

  // Own fields (the value lives in the window while the standard style is used).
  SHORT value_ = 0;
  int32_t backColor_ = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor_ = static_cast<int32_t>(colour::ButtonText);
  // Set while the control itself changes the value: no Click.
  bool suppressEvents_ = false;

 private:
  friend class ComObject<CheckBox, skiffwire::ICheckBox, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~CheckBox() override = default;

  std::unique_ptr<BaseControlFocusable> focusable_;
  std::unique_ptr<ButtonBase> button_;
  std::unique_ptr<DataFieldBinderBase> binder_;
  Bstr designCaption_;
  int32_t tabIndex_ = 0;
};

}  // namespace rt

// The CommandButton: a push button ("BrammelCommandButton") whose caption,
// default and cancel roles, value and graphical style are properties of the
// control. Click (0xEAEA0004) follows a press with the mouse or keyboard, a
// press by the form as default or cancel button, and a Value let of True.
#pragma once

#include <memory>

#include "app/members/ICommandButton.h"
#include "platform/controls.h"
#include "runtime/controls/BaseControlFocusable.h"
#include "runtime/controls/ButtonBase.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4EF0-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_CommandButton{
    0x33AD4EF0, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

struct CommandButtonDesign {
  CommonDesign common;
  Bstr caption;
  int32_t backColor = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor = static_cast<int32_t>(colour::ButtonText);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT_BOOL isDefault = VARIANT_FALSE;
  int32_t style = 0;
};
extern const PropertyLayout kCommandButtonLayout;

class CommandButton final : public ControlObject<CommandButton, skiffwire::ICommandButton> {
 public:
  CommandButton();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return focusable_ ? focusable_->rect() : nullptr; }
  BaseControlFocusable* focusable() { return focusable_.get(); }
  ButtonBase* button() { return button_.get(); }

  // --- ICommandButton
  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;

  HRESULT getValue(VARIANT_BOOL* value);
  HRESULT putValue(VARIANT_BOOL value);
  HRESULT applyDefault();
  HRESULT refresh();

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool isDefaultButton() override { return default_ != 0; }
  bool isCancelButton() override { return cancel_ != 0; }
  bool tabIndex(int32_t* index) override;

  // --- WindowEventSink
  void pressDefault() override { raise(EventClick); }
  void pressCancel() override { raise(EventClick); }

  // Own fields, in declaration order.
  LONG styleValue_ = 0;
  VARIANT_BOOL cancel_ = VARIANT_FALSE;
  VARIANT_BOOL default_ = VARIANT_FALSE;
  LONG unnamed1_ = 0;
  VARIANT_BOOL unnamedFlag_ = VARIANT_FALSE;
  LONG unnamed2_ = 0;
  VARIANT_BOOL value_ = VARIANT_FALSE;
  int32_t backColor_ = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor_ = static_cast<int32_t>(colour::ButtonText);

 private:
  friend class ComObject<CommandButton, skiffwire::ICommandButton, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~CommandButton() override = default;
  // The graphical style: the control paints face, edge, caption and focus.
  void drawGraphical(const DRAWITEMSTRUCT& item);

  std::unique_ptr<BaseControlFocusable> focusable_;
  std::unique_ptr<ButtonBase> button_;
  Bstr designCaption_;
  // Graphical style: whether the form currently shows this button as its
  // default one (its BM_SETSTYLE, which must not replace the owner drawing).
  bool shownAsDefault_ = false;
  int32_t tabIndex_ = 0;
};

}  // namespace rt

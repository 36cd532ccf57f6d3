// The base of windowed controls that can take the focus (TextBox, CommandButton, CheckBox): the
// window, layout and font.
#pragma once

#include <memory>

#include "runtime/controls/BaseControlRectDockable.h"
#include "runtime/controls/BaseFont.h"

namespace rt {

class BaseControlRect;

class BaseControlFocusable final : public DispatchObject {
 public:
  explicit BaseControlFocusable(IDispatch* outer);
  ~BaseControlFocusable() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  BaseControlRectDockable* dockable() { return dockable_.get(); }
  BaseFont* font() { return font_.get(); }
  // The window, layout and identity part at the bottom of the chain.
  BaseControlRect* rect();

 private:
  std::unique_ptr<BaseControlRectDockable> dockable_;
  std::unique_ptr<BaseFont> font_;
};

}  // namespace rt

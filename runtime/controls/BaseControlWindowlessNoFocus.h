// The base of windowless controls painted by their container that can be clicked (Label).
#pragma once

#include <memory>

#include "runtime/controls/BaseControlRectDockable.h"

namespace rt {

class BaseControlRect;

class BaseControlWindowlessNoFocus final : public DispatchObject {
 public:
  explicit BaseControlWindowlessNoFocus(IDispatch* outer);
  ~BaseControlWindowlessNoFocus() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  BaseControlRectDockable* dockable() { return dockable_.get(); }
  // The window, layout and identity part at the bottom of the chain.
  BaseControlRect* rect();

 private:
  std::unique_ptr<BaseControlRectDockable> dockable_;
};

}  // namespace rt

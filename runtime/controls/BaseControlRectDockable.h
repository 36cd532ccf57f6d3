// The base of the container-relative layout of controls that sit inside a form or frame (the
// docking helper has no layout rules of its own yet).
#pragma once

#include <memory>

#include "runtime/controls/BaseControlRect.h"

namespace rt {

class BaseControlRect;

class BaseControlRectDockable final : public DispatchObject {
 public:
  explicit BaseControlRectDockable(IDispatch* outer);
  ~BaseControlRectDockable() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  BaseControlRect* rectBase() { return rectBase_.get(); }
  // The window, layout and identity part at the bottom of the chain.
  BaseControlRect* rect();

 private:
  std::unique_ptr<BaseControlRect> rectBase_;
};

}  // namespace rt

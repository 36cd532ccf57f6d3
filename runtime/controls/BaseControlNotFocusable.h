// The base of controls without a window that are still placed on a form (Timer).
#pragma once

#include <memory>

#include "runtime/controls/BaseControlRect.h"

namespace rt {

class BaseControlRect;

class BaseControlNotFocusable final : public DispatchObject {
 public:
  explicit BaseControlNotFocusable(IDispatch* outer);
  ~BaseControlNotFocusable() override;

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

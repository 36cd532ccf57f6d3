// The base of common button behaviour of CommandButton and CheckBox: the standard or graphical
// style (1: owner drawn).
#pragma once

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class ButtonBase final : public DispatchObject {
 public:
  ButtonBase() = default;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  SHORT style_{0};
};

}  // namespace rt

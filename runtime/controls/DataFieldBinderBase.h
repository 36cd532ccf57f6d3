// The base of data binding of TextBox, CheckBox and Label: the bound field and whether the value
// changed since it was read.
#pragma once

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class DataFieldBinderBase final : public DispatchObject {
 public:
  DataFieldBinderBase() = default;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  // The bound value changed (an edit, a new Value).
  void markChanged() { dataChanged_ = VARIANT_TRUE; }

  Bstr dataField_;
  VARIANT_BOOL dataChanged_{VARIANT_FALSE};
};

}  // namespace rt

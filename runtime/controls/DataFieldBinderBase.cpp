#include "runtime/controls/DataFieldBinderBase.h"

#include "runtime/controls/ControlIds.h"

namespace rt {

const ClassDescriptor& DataFieldBinderBase::descriptor() const {
  static const ClassDescriptor cls{u"DataFieldBinderBase", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& DataFieldBinderBase::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.textField(u"DataField", dispid::DataField, &DataFieldBinderBase::dataField_);
    t.field<VT_BOOL>(u"DataChanged", dispid::DataChanged, &DataFieldBinderBase::dataChanged_);
    return t;
  }();
  return table;
}

}  // namespace rt

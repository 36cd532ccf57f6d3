#include "runtime/controls/ButtonBase.h"

#include "runtime/controls/ControlIds.h"

namespace rt {

const ClassDescriptor& ButtonBase::descriptor() const {
  static const ClassDescriptor cls{u"ButtonBase", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& ButtonBase::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_I2>(u"Style", dispid::ButtonStyle, &ButtonBase::style_);
    return t;
  }();
  return table;
}

}  // namespace rt

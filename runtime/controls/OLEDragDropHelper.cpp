#include "runtime/controls/OLEDragDropHelper.h"

#include "runtime/controls/ControlIds.h"

namespace rt {

const ClassDescriptor& OLEDragDropHelper::descriptor() const {
  static const ClassDescriptor cls{u"OLEDragDropHelper", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& OLEDragDropHelper::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_I2>(u"OLEDragMode", dispid::OLEDragMode, &OLEDragDropHelper::dragMode_);
    t.field<VT_I2>(u"OLEDropMode", dispid::OLEDropMode, &OLEDragDropHelper::dropMode_);
    return t;
  }();
  return table;
}

}  // namespace rt

#include "runtime/controls/GraphicsBase.h"

#include "runtime/controls/ControlIds.h"

namespace rt {

const ClassDescriptor& GraphicsBase::descriptor() const {
  static const ClassDescriptor cls{u"GraphicsBase", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& GraphicsBase::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_BOOL>(u"AutoRedraw", dispid::AutoRedraw, &GraphicsBase::autoRedraw_);
    t.field<VT_BOOL>(u"ClipControls", dispid::ClipControls, &GraphicsBase::clipControls_);
    t.field<VT_I2>(u"ScaleMode", dispid::ScaleMode, &GraphicsBase::scaleMode_);
    return t;
  }();
  return table;
}

}  // namespace rt

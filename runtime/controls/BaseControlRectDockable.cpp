#include "runtime/controls/BaseControlRectDockable.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlRectDockable::BaseControlRectDockable(IDispatch* outer)
    : rectBase_(std::make_unique<BaseControlRect>(outer)) {}

BaseControlRectDockable::~BaseControlRectDockable() = default;

const ClassDescriptor& BaseControlRectDockable::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlRectDockable", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlRectDockable::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRect::Members(), &BaseControlRectDockable::rectBase);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlRectDockable::rect() {
  return rectBase();
}

}  // namespace rt

#include "runtime/controls/BaseControlWindowlessNoDrag.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlWindowlessNoDrag::BaseControlWindowlessNoDrag(IDispatch* outer)
    : dockable_(std::make_unique<BaseControlRectDockable>(outer)) {}

BaseControlWindowlessNoDrag::~BaseControlWindowlessNoDrag() = default;

const ClassDescriptor& BaseControlWindowlessNoDrag::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlWindowlessNoDrag", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlWindowlessNoDrag::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRectDockable::Members(), &BaseControlWindowlessNoDrag::dockable);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlWindowlessNoDrag::rect() {
  return dockable_ ? dockable_->rect() : nullptr;
}

}  // namespace rt

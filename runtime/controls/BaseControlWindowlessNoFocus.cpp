#include "runtime/controls/BaseControlWindowlessNoFocus.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlWindowlessNoFocus::BaseControlWindowlessNoFocus(IDispatch* outer)
    : dockable_(std::make_unique<BaseControlRectDockable>(outer)) {}

BaseControlWindowlessNoFocus::~BaseControlWindowlessNoFocus() = default;

const ClassDescriptor& BaseControlWindowlessNoFocus::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlWindowlessNoFocus", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlWindowlessNoFocus::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRectDockable::Members(), &BaseControlWindowlessNoFocus::dockable);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlWindowlessNoFocus::rect() {
  return dockable_ ? dockable_->rect() : nullptr;
}

}  // namespace rt

#include "runtime/controls/BaseControlNotFocusable.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlNotFocusable::BaseControlNotFocusable(IDispatch* outer)
    : rectBase_(std::make_unique<BaseControlRect>(outer)) {}

BaseControlNotFocusable::~BaseControlNotFocusable() = default;

const ClassDescriptor& BaseControlNotFocusable::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlNotFocusable", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlNotFocusable::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRect::Members(), &BaseControlNotFocusable::rectBase);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlNotFocusable::rect() {
  return rectBase();
}

}  // namespace rt

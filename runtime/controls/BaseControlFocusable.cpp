#include "runtime/controls/BaseControlFocusable.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlFocusable::BaseControlFocusable(IDispatch* outer)
    : dockable_(std::make_unique<BaseControlRectDockable>(outer)),
      font_(std::make_unique<BaseFont>()) {
  font_->attachWindow(rect());
}

BaseControlFocusable::~BaseControlFocusable() = default;

const ClassDescriptor& BaseControlFocusable::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlFocusable", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlFocusable::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRectDockable::Members(), &BaseControlFocusable::dockable);
    t.forward(BaseFont::Members(), &BaseControlFocusable::font);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlFocusable::rect() {
  return dockable_ ? dockable_->rect() : nullptr;
}

}  // namespace rt

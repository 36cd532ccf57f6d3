#include "runtime/controls/BaseControlNotFocusable2.h"

#include "runtime/controls/BaseControlRect.h"

namespace rt {

BaseControlNotFocusable2::BaseControlNotFocusable2(IDispatch* outer)
    : dockable_(std::make_unique<BaseControlRectDockable>(outer)),
      font_(std::make_unique<BaseFont>()) {
  font_->attachWindow(rect());
}

BaseControlNotFocusable2::~BaseControlNotFocusable2() = default;

const ClassDescriptor& BaseControlNotFocusable2::descriptor() const {
  static const ClassDescriptor cls{u"BaseControlNotFocusable2", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControlNotFocusable2::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.forward(BaseControlRectDockable::Members(), &BaseControlNotFocusable2::dockable);
    t.forward(BaseFont::Members(), &BaseControlNotFocusable2::font);
    return t;
  }();
  return table;
}

BaseControlRect* BaseControlNotFocusable2::rect() {
  return dockable_ ? dockable_->rect() : nullptr;
}

}  // namespace rt

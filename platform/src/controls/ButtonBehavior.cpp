#include "internal/ButtonBehavior.h"

namespace platform::internal {

ButtonBehavior::Kind ButtonBehavior::kindOf(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return Kind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Kind::RadioButton;
    case BS_GROUPBOX:
      return Kind::GroupBox;
    case BS_OWNERDRAW:
      return Kind::OwnerDraw;
  }
  return Kind::PushButton;
}

void ButtonBehavior::setStyle(DWORD style) {
  style_ = style;
  kind_ = kindOf(style);
}

bool ButtonBehavior::automatic() const {
  DWORD t = type();
  return t == BS_AUTOCHECKBOX || t == BS_AUTO3STATE || t == BS_AUTORADIOBUTTON;
}

bool ButtonBehavior::threeState() const {
  return type() == BS_3STATE || type() == BS_AUTO3STATE;
}

ButtonBehavior::Effect ButtonBehavior::setPushedLook(bool pushed) {
  Effect effect;
  effect.redraw = pushed != pushed_;
  pushed_ = pushed;
  return effect;
}

ButtonBehavior::Effect ButtonBehavior::press() {
  if (kind_ == Kind::GroupBox) return {};
  press_ = Press::Mouse;
  Effect effect = setPushedLook(true);
  effect.capture = true;
  return effect;
}

ButtonBehavior::Effect ButtonBehavior::move(bool inside) {
  if (press_ != Press::Mouse) return {};
  return setPushedLook(inside);
}

ButtonBehavior::Effect ButtonBehavior::release(bool inside) {
  if (press_ != Press::Mouse) return {};
  press_ = Press::None;
  Effect effect = setPushedLook(false);
  effect.releaseCapture = true;
  effect.click = inside;
  return effect;
}

ButtonBehavior::Effect ButtonBehavior::captureLost() {
  if (press_ != Press::Mouse) return {};
  press_ = Press::None;
  return setPushedLook(false);
}

ButtonBehavior::Effect ButtonBehavior::spaceDown() {
  if (kind_ == Kind::GroupBox || press_ != Press::None) return {};
  press_ = Press::Space;
  return setPushedLook(true);
}

ButtonBehavior::Effect ButtonBehavior::spaceUp() {
  if (press_ != Press::Space) return {};
  press_ = Press::None;
  Effect effect = setPushedLook(false);
  effect.click = true;
  return effect;
}

ButtonBehavior::Effect ButtonBehavior::focusChanged(bool focused) {
  Effect effect;
  effect.redraw = focused != focused_;
  focused_ = focused;
  if (focused || press_ == Press::None) return effect;
  // Losing the focus cancels a press in progress.
  effect.releaseCapture = press_ == Press::Mouse;
  press_ = Press::None;
  effect.redraw |= setPushedLook(false).redraw;
  return effect;
}

ButtonBehavior::Effect ButtonBehavior::setPushed(bool pushed) {
  return setPushedLook(pushed);
}

bool ButtonBehavior::setCheck(WPARAM state) {
  if (kind_ != Kind::CheckBox && kind_ != Kind::RadioButton) return false;
  WPARAM next = BST_UNCHECKED;
  if (state == BST_INDETERMINATE && threeState()) {
    next = BST_INDETERMINATE;
  } else if (state != BST_UNCHECKED) {
    next = BST_CHECKED;
  }
  bool changed = next != check_;
  check_ = next;
  return changed;
}

WPARAM ButtonBehavior::nextCheck() const {
  if (kind_ == Kind::RadioButton) return BST_CHECKED;
  if (threeState()) return (check_ + 1) % 3;
  return check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
}

LRESULT ButtonBehavior::state() const {
  LRESULT bits = static_cast<LRESULT>(check_);
  if (pushed_) bits |= BST_PUSHED;
  if (focused_) bits |= BST_FOCUS;
  return bits;
}

LRESULT ButtonBehavior::dialogCode() const {
  switch (kind_) {
    case Kind::PushButton:
    case Kind::OwnerDraw:
      return DLGC_BUTTON | (isDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case Kind::CheckBox:
      return DLGC_BUTTON;
    case Kind::RadioButton:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case Kind::GroupBox:
      return DLGC_STATIC;
  }
  return DLGC_BUTTON;
}

}  // namespace platform::internal

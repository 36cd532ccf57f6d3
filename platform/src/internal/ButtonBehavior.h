// What a button does with presses, releases, keys and focus, without a
// window: whether it shows pushed, whether an action is a click, and its
// check state. The button window turns the answers into captures, repaints
// and notifications.
//
// A press that is released over the button clicks it; one released outside
// does nothing, and losing the capture cancels it. Space pushes the button
// and its release clicks; losing the focus cancels. Automatic check boxes
// cycle their check state on each click (three-state ones through the
// indeterminate state); group boxes take no presses at all.
#pragma once

#include "platform/controls.h"

namespace platform::internal {

class ButtonBehavior {
 public:
  enum class Kind { PushButton, CheckBox, RadioButton, GroupBox, OwnerDraw };

  // What the window must do after an event.
  struct Effect {
    bool redraw = false;
    bool click = false;
    bool capture = false;
    bool releaseCapture = false;
  };

  explicit ButtonBehavior(DWORD style) { setStyle(style); }

  static Kind kindOf(DWORD style);
  void setStyle(DWORD style);
  DWORD style() const { return style_; }
  Kind kind() const { return kind_; }
  DWORD type() const { return style_ & BS_TYPEMASK; }
  bool automatic() const;
  bool threeState() const;
  bool isDefault() const { return type() == BS_DEFPUSHBUTTON; }

  Effect press();
  Effect move(bool inside);
  Effect release(bool inside);
  Effect captureLost();
  Effect spaceDown();
  Effect spaceUp();
  Effect focusChanged(bool focused);
  // BM_SETSTATE: the pushed look, set from outside.
  Effect setPushed(bool pushed);

  WPARAM check() const { return check_; }
  // BM_SETCHECK; true when the state changed. Two-state buttons take any
  // non-zero state as checked; push buttons and group boxes have none.
  bool setCheck(WPARAM state);
  // The state after a click of an automatic button.
  WPARAM nextCheck() const;

  bool pushed() const { return pushed_; }
  bool focused() const { return focused_; }
  bool tracking() const { return press_ == Press::Mouse; }
  // BM_GETSTATE: the check state with BST_PUSHED and BST_FOCUS.
  LRESULT state() const;
  // WM_GETDLGCODE.
  LRESULT dialogCode() const;

 private:
  enum class Press { None, Mouse, Space };
  Effect setPushedLook(bool pushed);

  DWORD style_ = 0;
  Kind kind_ = Kind::PushButton;
  Press press_ = Press::None;
  bool pushed_ = false;
  bool focused_ = false;
  WPARAM check_ = BST_UNCHECKED;
};

}  // namespace platform::internal

// A window of the "BUTTON" class: its procedure turns messages into the
// button behaviour's events, captures and releases the mouse, repaints, and
// tells the parent of clicks.
#pragma once

#include "internal/ButtonBehavior.h"

namespace platform::internal {

class ButtonControl {
 public:
  ButtonControl(HWND hwnd, DWORD style) : hwnd_(hwnd), behavior_(style) {}

  static LRESULT procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT onPaint(HDC given);
  LRESULT onButtonDown();
  LRESULT onMouseMove(LPARAM lParam);
  LRESULT onButtonUp(LPARAM lParam);
  LRESULT onCaptureChanged();
  LRESULT onKeyDown(WPARAM key, LPARAM lParam);
  LRESULT onKeyUp(WPARAM key, LPARAM lParam);
  LRESULT onFocus(bool focused, WPARAM wParam);
  LRESULT onSetText(WPARAM wParam, LPARAM lParam);
  LRESULT onSetFont(WPARAM font, LPARAM redraw);
  LRESULT onSetCheck(WPARAM state);
  LRESULT onSetState(WPARAM pushed);
  LRESULT onSetStyle(WPARAM style, LPARAM redraw);
  LRESULT onClick();
  LRESULT onStyleChanged(WPARAM which, LPARAM change);
  LRESULT onNcHitTest(WPARAM wParam, LPARAM lParam);

  void apply(const ButtonBehavior::Effect& effect);
  void clicked();
  void uncheckGroupSiblings();
  void redraw();
  bool inside(LPARAM point) const;

  HWND hwnd_;
  ButtonBehavior behavior_;
  HFONT font_ = nullptr;
};

}  // namespace platform::internal

// A window of the "STATIC" class: a text (left, centred or right, wrapped
// or not), a filled or framed rectangle, or an etched line; with SS_NOTIFY
// it tells its parent of clicks, without it the pointer passes through.
#pragma once

#include "platform/controls.h"

namespace platform::internal {

class StaticControl {
 public:
  explicit StaticControl(HWND hwnd) : hwnd_(hwnd) {}

  static LRESULT procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The DrawTextW format for a text style.
  static UINT textFormat(DWORD style);

 private:
  LRESULT onPaint(HDC given);
  LRESULT onNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT onClick(WORD code);
  LRESULT onEnable(WPARAM enabled);
  LRESULT onSetText(WPARAM wParam, LPARAM lParam);
  LRESULT onSetFont(WPARAM font, LPARAM redraw);

  void paint(HDC dc);
  void paintText(HDC dc, DWORD style);
  DWORD style() const;

  HWND hwnd_;
  HFONT font_ = nullptr;
};

}  // namespace platform::internal

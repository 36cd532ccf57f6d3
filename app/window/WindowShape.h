// A shape drawn in a child window of its own: a filled circle whose fill
// colour the application sets (the connection indicator).
#pragma once

#include "app/members/IShape.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowShape final : public WindowControl<WindowShape, IShape> {
 public:
  // The window class the form creates the shape's window with.
  static const char16_t* RegisterWindowClass();

  WindowShape();

  HRESULT put_FillColor(DWORD color) override;

  DWORD fillColor() const { return fillColor_; }

 private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void onPaint();

  // The system colour the design leaves (window background).
  DWORD fillColor_ = 0x80000005;
};

// An OLE colour (0x00BBGGRR, or 0x80000000 + a system colour index) as a
// COLORREF.
COLORREF ColorOf(DWORD oleColor);

}  // namespace skiffwire

// What the system controls share: asking the parent for colours, telling
// it of events, the font in force, and labels drawn enabled or embossed.
#pragma once

#include <string_view>

#include "platform/controls.h"

namespace platform::internal {

class ControlSupport {
 public:
  // Sends a WM_CTLCOLOR* message to the parent (the default processing
  // when there is none, or when the parent answers no brush); the answer
  // is the brush for the background, the text colour and mode are left in
  // the context.
  static HBRUSH askColors(HWND hwnd, HDC dc, UINT message);
  // WM_COMMAND with the control's identifier and the code to the parent.
  static void notifyParent(HWND hwnd, WORD code);
  // The font a control draws with: its own, or the system font.
  static HFONT fontOr(HFONT font);
  // A label; a disabled one is embossed (a highlight copy one pixel down
  // and right under a shadow-coloured one).
  static void drawLabel(HDC dc, std::u16string_view text, RECT rect, UINT format, bool enabled);
  static std::u16string textOf(HWND hwnd);
  static int widthOf(const RECT& r) { return r.right - r.left; }
  static int heightOf(const RECT& r) { return r.bottom - r.top; }
};

}  // namespace platform::internal

// The system colours: a classic light scheme (button-face grey, white
// windows, a blue caption gradient), and the UI fonts of the non-client
// metrics.
#pragma once

#include "platform/gdi.h"

namespace platform::internal {

class SystemColors {
 public:
  static constexpr int kCount = 31;  // indexes 0 to 30
  static bool valid(int index) { return index >= 0 && index < kCount; }
  // CLR_INVALID for an index out of range.
  static COLORREF color(int index);
  // A brush given as COLOR_x + 1 (a class background, FillRect) names the
  // system colour x; answers that index, or -1 for a real handle.
  static int indexOfBrushValue(HBRUSH brush);

  // The message font (DejaVu Sans, 8 points at the display's current
  // resolution), and the caption's (bold).
  static LOGFONTW messageFont();
  static LOGFONTW captionFont();
};

}  // namespace platform::internal

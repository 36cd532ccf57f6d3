#include "internal/SystemColors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "internal/DisplayScale.h"
#include "platform/user.h"

namespace platform::internal {
namespace {

constexpr std::array<COLORREF, SystemColors::kCount> kScheme = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: no named colour
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

// 8 points: 11 pixels at 96 dots per inch, more on a finer screen.
LOGFONTW dejaVu(LONG weight) {
  LOGFONTW lf{};
  lf.lfHeight = -PixelsForDisplay(11);
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::u16string_view name = u"DejaVu Sans";
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  return lf;
}

}  // namespace

COLORREF SystemColors::color(int index) {
  return valid(index) ? kScheme[static_cast<size_t>(index)] : CLR_INVALID;
}

int SystemColors::indexOfBrushValue(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value == 0 || value > static_cast<uintptr_t>(kCount)) return -1;
  return static_cast<int>(value) - 1;
}

LOGFONTW SystemColors::messageFont() {
  return dejaVu(FW_NORMAL);
}

LOGFONTW SystemColors::captionFont() {
  return dejaVu(FW_BOLD);
}

}  // namespace platform::internal

#include "internal/ControlSupport.h"

#include <string>

namespace platform::internal {

HBRUSH ControlSupport::askColors(HWND hwnd, HDC dc, UINT message) {
  HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
  LRESULT answer = 0;
  if (parent)
    answer =
        SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
  if (!answer) {
    answer = DefWindowProcW(parent ? parent : hwnd, message, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(hwnd));
  }
  return reinterpret_cast<HBRUSH>(answer);
}

void ControlSupport::notifyParent(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  auto id = static_cast<WORD>(GetDlgCtrlID(hwnd));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

HFONT ControlSupport::fontOr(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void ControlSupport::drawLabel(HDC dc, std::u16string_view text, RECT rect, UINT format,
                               bool enabled) {
  int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  auto length = static_cast<int>(text.size());
  if (!enabled) {
    RECT shadow = rect;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.data(), length, &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  }
  DrawTextW(dc, text.data(), length, &rect, format);
  RestoreDC(dc, saved);
}

std::u16string ControlSupport::textOf(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace platform::internal

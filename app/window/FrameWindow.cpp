#include "app/window/FrameWindow.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "app/window/WindowText.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

namespace skiffwire {

namespace {
constexpr const char16_t* kClassName = u"SkiffwireFrame";
// Where the caption starts, in pixels at 96 dots per inch.
constexpr int kCaptionIndent = 8;
}  // namespace

const char16_t* FrameWindow::RegisterWindowClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FrameWindow::Procedure;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
  return kClassName;
}

LRESULT FrameWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return onPaint(hwnd);
    case WM_SETFONT:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(hwnd), message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FrameWindow::onPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  RECT client;
  GetClientRect(hwnd, &client);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT border = client;
  border.top += metrics.tmHeight / 2;
  DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
  const std::u16string caption = WindowText(hwnd);
  if (!caption.empty()) {
    const int indent = MulDiv(kCaptionIndent, GetDeviceCaps(dc, LOGPIXELSX), 96);
    RECT label{client.left + indent, client.top, client.right - indent,
               client.top + metrics.tmHeight};
    RECT bounds = label;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &bounds,
              DT_SINGLELINE | DT_CALCRECT);
    bounds.right = std::min(bounds.right, label.right);
    RECT gap{bounds.left - 2, bounds.top, bounds.right + 2, bounds.bottom};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &bounds,
              DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
  }
  if (oldFont) SelectObject(dc, oldFont);
  EndPaint(hwnd, &paint);
  return 0;
}

}  // namespace skiffwire

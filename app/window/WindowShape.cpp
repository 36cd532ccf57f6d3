#include "app/window/WindowShape.h"

#include <mutex>

#include "platform/gdi.h"

namespace skiffwire {

namespace {
constexpr const char16_t* kClassName = u"SkiffwireShape";
constexpr DWORD kSystemColorFlag = 0x80000000;
}  // namespace

COLORREF ColorOf(DWORD oleColor) {
  if (oleColor & kSystemColorFlag) return GetSysColor(static_cast<int>(oleColor & 0xFF));
  return oleColor & 0x00FFFFFF;
}

const char16_t* WindowShape::RegisterWindowClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowShape::Procedure;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
  return kClassName;
}

WindowShape::WindowShape() : WindowControl(DIID_ShapeEvents) {}

HRESULT WindowShape::put_FillColor(DWORD color) {
  if (color == fillColor_) return S_OK;
  fillColor_ = color;
  InvalidateRect(hwnd(), nullptr, TRUE);
  return S_OK;
}

LRESULT WindowShape::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* target = reinterpret_cast<NotificationTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (!target) break;
      static_cast<WindowShape*>(target)->onPaint();
      return 0;
    case WM_NCHITTEST:
      // The shape takes no input: clicks fall through to what is below.
      return HTTRANSPARENT;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void WindowShape::onPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  RECT client;
  GetClientRect(hwnd(), &client);
  HBRUSH fill = CreateSolidBrush(ColorOf(fillColor_));
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, client.left, client.top, client.right, client.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(fill);
  EndPaint(hwnd(), &paint);
}

}  // namespace skiffwire

#include "app/support/HiddenWindow.h"

#include <mutex>

namespace skiffwire {

namespace {
constexpr const char16_t* kClassName = u"SkiffwireHiddenWindow";

void RegisterClassOnce(WNDPROC procedure) {
  static std::once_flag once;
  std::call_once(once, [&] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
}
}  // namespace

HiddenWindow::HiddenWindow(Handler handler) : handler_(std::move(handler)) {
  RegisterClassOnce(&HiddenWindow::Procedure);
  // A top-level popup that is never shown: no display driver sees it.
  hwnd_ =
      CreateWindowExW(0, kClassName, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HiddenWindow::~HiddenWindow() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

LRESULT HiddenWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<HiddenWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->handler_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handler_(message, wParam, lParam);
}

}  // namespace skiffwire

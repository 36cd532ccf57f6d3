#include "app/window/WindowForm.h"

#include <mutex>

#include "platform/gdi.h"

namespace skiffwire {

namespace {
constexpr const char16_t* kClassName = u"SkiffwireForm";
// A fixed single border with a minimise box: the form is not resizable.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

const char16_t* RegisterWindowClass(WNDPROC procedure) {
  static std::once_flag once;
  std::call_once(once, [procedure] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
  return kClassName;
}
}  // namespace

WindowForm::WindowForm() : WindowControl(DIID_FormEvents) {}

WindowForm::~WindowForm() {
  if (!IsWindow(hwnd())) return;
  destroying_ = true;
  DestroyWindow(hwnd());
}

HRESULT WindowForm::put_Caption(BSTR caption) {
  SetWindowTextW(hwnd(), std::u16string(ViewOf(caption)).c_str());
  return S_OK;
}

bool WindowForm::create(SIZE client, std::u16string_view caption) {
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND hwnd = CreateWindowExW(0, RegisterWindowClass(&WindowForm::Procedure),
                              std::u16string(caption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              nullptr, nullptr);
  attach(hwnd);
  return hwnd != nullptr;
}

void WindowForm::load() {
  if (loaded_) return;
  loaded_ = true;
  ComPtr<IForm> keepAlive(this);
  raise(kFormLoadEvent);
}

void WindowForm::show() {
  load();
  if (!IsWindow(hwnd())) return;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

bool WindowForm::unload() {
  if (!loaded_) return true;
  ComPtr<IForm> keepAlive(this);
  SHORT cancel = 0;
  VARIANT cancelArgument;
  VariantInit(&cancelArgument);
  cancelArgument.vt = VT_I2 | VT_BYREF;
  cancelArgument.piVal = &cancel;
  raise(kFormUnloadEvent, {cancelArgument});
  if (cancel != 0) return false;
  loaded_ = false;
  if (IsWindow(hwnd())) DestroyWindow(hwnd());
  return true;
}

LRESULT WindowForm::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* target = reinterpret_cast<NotificationTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  auto* form = static_cast<WindowForm*>(target);
  switch (message) {
    case WM_COMMAND:
      RouteNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (!form) break;
      return form->onClose();
    case WM_DESTROY:
      if (!form) break;
      return form->onDestroy();
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT WindowForm::onClose() {
  unload();
  return 0;
}

LRESULT WindowForm::onDestroy() {
  // The last form is gone: the main loop ends (not when the object itself
  // takes its window down).
  if (!destroying_) PostQuitMessage(0);
  return 0;
}

}  // namespace skiffwire

#include "app/window/Form1Window.h"

#include <string>

#include "app/simulated/SimulatedTimer.h"
#include "app/simulated/SimulatedYield.h"
#include "app/udp/UdpSocket.h"
#include "app/window/Form1Layout.h"
#include "app/window/FrameWindow.h"
#include "app/window/WindowCheckBox.h"
#include "app/window/WindowCommandButton.h"
#include "app/window/WindowLabel.h"
#include "app/window/WindowShape.h"
#include "app/window/WindowTextBox.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/kernel.h"

namespace skiffwire {

namespace {

int Scaled(int pixels) {
  return MulDiv(pixels, platform::CurrentDisplay().dpi(), 96);
}

// The way the control extender creates a hosted control (context 5).
HRESULT CreateSocket(ComPtr<IUnknown>& socket) {
  return CoCreateInstance(CLSID_UdpSocket, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          IID_IUnknown, reinterpret_cast<void**>(socket.ReleaseAndGetAddressOf()));
}

HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

struct WindowLook {
  const char16_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

WindowLook LookOf(const ControlLayout& layout) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (layout.controlClass) {
    case ControlClass::Frame:
      return {FrameWindow::RegisterWindowClass(), kChild | WS_CLIPCHILDREN, 0};
    case ControlClass::Label:
      return {u"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ControlClass::TextBox:
      switch (layout.look) {
        case TextLook::SingleLine:
          return {u"EDIT", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case TextLook::MultiLine:
          return {u"EDIT", kChild | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                  WS_EX_CLIENTEDGE};
        case TextLook::Log:
          return {u"EDIT",
                  kChild | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
                  WS_EX_CLIENTEDGE};
      }
      break;
    case ControlClass::CommandButton:
      return {u"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlClass::CheckBox:
      return {u"BUTTON", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlClass::Shape:
      return {WindowShape::RegisterWindowClass(), kChild, 0};
    case ControlClass::Socket:
    case ControlClass::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace

Form1Window::Form1Window()
    : form_(rt::MakeComObject<WindowForm>()),
      compiled_(rt::MakeComObject<Form1Form>(rt::MakeComObject<SimulatedYield>())) {
  status_ = build();
}

Form1Window::~Form1Window() {
  compiled_->disconnectHandledMembers();
  for (DISPID id : {member::sckServer, member::sckClient}) {
    ComPtr<IUdpSocket> socket;
    const ComPtr<IUnknown>& object = compiled_->memberSlots()[static_cast<size_t>(id)];
    if (object && SUCCEEDED(object.As(socket))) socket->Close();
  }
  compiled_.Reset();
  form_.Reset();
  if (font_) DeleteObject(font_);
}

HWND Form1Window::windowOf(std::u16string_view name) const {
  const auto layout = Form1Layout();
  for (size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].name == name) return windows_[i];
  }
  return nullptr;
}

HRESULT Form1Window::build() {
  if (!form_->create({Scaled(kForm1ClientWidth), Scaled(kForm1ClientHeight)},
                     kForm1DesignCaption)) {
    return E_FAIL;
  }
  font_ = CreateMessageFont();
  compiled_->memberSlots()[member::Form1] = form_->unknown();
  const auto layout = Form1Layout();
  windows_.assign(layout.size(), nullptr);
  for (size_t i = 0; i < layout.size(); ++i) {
    const int container = layout[i].container;
    HWND parent = container < 0 ? form_->hwnd() : windows_[static_cast<size_t>(container)];
    if (HRESULT hr = createControl(i, parent); FAILED(hr)) return hr;
  }
  if (HRESULT hr = compiled_->bind(); FAILED(hr)) return hr;
  return compiled_->connectHandledMembers();
}

HRESULT Form1Window::createControl(size_t index, HWND container) {
  const ControlLayout& layout = Form1Layout()[index];
  // Member ids follow the design order after the form's own slot.
  ComPtr<IUnknown>& slot = compiled_->memberSlots()[index + 1];
  if (layout.controlClass == ControlClass::Socket) return CreateSocket(slot);
  if (layout.controlClass == ControlClass::Timer) {
    slot = rt::MakeComObject<SimulatedTimer>()->unknown();
    return S_OK;
  }
  const WindowLook look = LookOf(layout);
  HWND hwnd = CreateWindowExW(look.exStyle, look.windowClass, layout.text, look.style,
                              Scaled(layout.left), Scaled(layout.top), Scaled(layout.width),
                              Scaled(layout.height), container, nullptr, nullptr, nullptr);
  if (!hwnd) return E_FAIL;
  windows_[index] = hwnd;
  if (font_) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  auto take = [hwnd, &slot](auto control) {
    control->attach(hwnd);
    slot = control->unknown();
  };
  switch (layout.controlClass) {
    case ControlClass::TextBox:
      take(rt::MakeComObject<WindowTextBox>());
      return S_OK;
    case ControlClass::CommandButton:
      take(rt::MakeComObject<WindowCommandButton>());
      return S_OK;
    case ControlClass::Label:
      take(rt::MakeComObject<WindowLabel>());
      return S_OK;
    case ControlClass::CheckBox:
      // The design ticks all three options.
      SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      take(rt::MakeComObject<WindowCheckBox>());
      return S_OK;
    case ControlClass::Shape:
      take(rt::MakeComObject<WindowShape>());
      return S_OK;
    case ControlClass::Frame:
    case ControlClass::Socket:
    case ControlClass::Timer:
      return S_OK;
  }
  return S_OK;
}

}  // namespace skiffwire

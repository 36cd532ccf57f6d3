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
HRESULT CreateSocket(ComPtr<IUdpSocket>& socket) {
  return CoCreateInstance(CLSID_UdpSocket, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          IID_IUdpSocket,
                          reinterpret_cast<void**>(socket.ReleaseAndGetAddressOf()));
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

Form1Window::Form1Window() : form_(rt::MakeComObject<WindowForm>()) {
  status_ = build();
}

Form1Window::~Form1Window() {
  if (code_) code_->disconnectEvents();
  if (controls_.sckServer) controls_.sckServer->Close();
  if (controls_.sckClient) controls_.sckClient->Close();
  code_.reset();
  controls_ = {};
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
  controls_.form = form_;
  controls_.runtime = rt::MakeComObject<SimulatedYield>();
  const auto layout = Form1Layout();
  windows_.assign(layout.size(), nullptr);
  for (size_t i = 0; i < layout.size(); ++i) {
    const int container = layout[i].container;
    HWND parent = container < 0 ? form_->hwnd() : windows_[static_cast<size_t>(container)];
    if (HRESULT hr = createControl(i, parent); FAILED(hr)) return hr;
  }
  code_ = std::make_unique<Form1>(controls_);
  return code_->connectEvents();
}

HRESULT Form1Window::createControl(size_t index, HWND container) {
  const ControlLayout& layout = Form1Layout()[index];
  const std::u16string_view name = layout.name;
  if (layout.controlClass == ControlClass::Socket) {
    return CreateSocket(name == u"sckServer" ? controls_.sckServer : controls_.sckClient);
  }
  if (layout.controlClass == ControlClass::Timer) {
    controls_.tmrTimeout = rt::MakeComObject<SimulatedTimer>();
    return S_OK;
  }
  const WindowLook look = LookOf(layout);
  HWND hwnd = CreateWindowExW(look.exStyle, look.windowClass, layout.text, look.style,
                              Scaled(layout.left), Scaled(layout.top), Scaled(layout.width),
                              Scaled(layout.height), container, nullptr, nullptr, nullptr);
  if (!hwnd) return E_FAIL;
  windows_[index] = hwnd;
  if (font_) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (layout.controlClass == ControlClass::CheckBox) {
    // The design ticks all three options.
    SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  }

  auto take = [hwnd](auto control, auto& slot) {
    control->attach(hwnd);
    slot = control;
  };
  Form1Controls& c = controls_;
  switch (layout.controlClass) {
    case ControlClass::TextBox: {
      auto box = rt::MakeComObject<WindowTextBox>();
      if (name == u"txtIpAddress") take(box, c.txtIpAddress);
      if (name == u"txtPort") take(box, c.txtPort);
      if (name == u"txtClearString") take(box, c.txtClearString);
      if (name == u"txtTestString") take(box, c.txtTestString);
      if (name == u"txtWaitState") take(box, c.txtWaitState);
      if (name == u"txtPacketLen") take(box, c.txtPacketLen);
      if (name == u"txtTimeOut") take(box, c.txtTimeOut);
      if (name == u"txtRetry") take(box, c.txtRetry);
      if (name == u"txtDatagram") take(box, c.txtDatagram);
      if (name == u"txtProcess") take(box, c.txtProcess);
      return S_OK;
    }
    case ControlClass::CommandButton: {
      auto button = rt::MakeComObject<WindowCommandButton>();
      if (name == u"cmdConnect") take(button, c.cmdConnect);
      if (name == u"cmdSaveSettings") take(button, c.cmdSaveSettings);
      if (name == u"cmdString") take(button, c.cmdString);
      if (name == u"cmdClear") take(button, c.cmdClear);
      if (name == u"cmdClearDatagram") take(button, c.cmdClearDatagram);
      if (name == u"cmdSendDataGram") take(button, c.cmdSendDataGram);
      return S_OK;
    }
    case ControlClass::Label: {
      auto label = rt::MakeComObject<WindowLabel>();
      if (name == u"lblChecksum") take(label, c.lblChecksum);
      if (name == u"lblDatagramLength") take(label, c.lblDatagramLength);
      if (name == u"lblPacketQty") take(label, c.lblPacketQty);
      return S_OK;
    }
    case ControlClass::CheckBox: {
      auto box = rt::MakeComObject<WindowCheckBox>();
      if (name == u"chkSTX") take(box, c.chkSTX);
      if (name == u"chkEOT") take(box, c.chkEOT);
      if (name == u"chkChecksum") take(box, c.chkChecksum);
      return S_OK;
    }
    case ControlClass::Shape:
      take(rt::MakeComObject<WindowShape>(), c.shpConnected);
      return S_OK;
    case ControlClass::Frame:
    case ControlClass::Socket:
    case ControlClass::Timer:
      return S_OK;
  }
  return S_OK;
}

}  // namespace skiffwire

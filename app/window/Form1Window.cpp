#include "app/window/Form1Window.h"

#include <string>

#include "app/simulated/SimulatedTimer.h"
#include "app/simulated/SimulatedYield.h"
#include "app/udp/HostedUdpSocket.h"
#include "app/window/Form1Layout.h"
#include "app/window/FrameWindow.h"
#include "app/window/WindowCheckBox.h"
#include "app/window/WindowCommandButton.h"
#include "app/window/WindowLabel.h"
#include "app/window/WindowShape.h"
#include "app/window/WindowText.h"
#include "app/window/WindowTextBox.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/kernel.h"

namespace skiffwire {

namespace {

int Scaled(int pixels) {
  return MulDiv(pixels, platform::CurrentDisplay().dpi(), 96);
}

// A socket control hosted by the control extender, as the form holds it.
HRESULT CreateSocket(ComPtr<IUnknown>& socket) {
  ComPtr<HostedUdpSocket> hosted = rt::MakeComObject<HostedUdpSocket>();
  if (HRESULT hr = hosted->create(); FAILED(hr)) return hr;
  socket = hosted->unknown();
  return S_OK;
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
  titles_ = rt::MakeComObject<rt::ControlArray>(static_cast<rt::ControlArrayHost&>(*this),
                                                IID_ILabel, nullptr);
  collection_ = rt::MakeComObject<rt::ControlsCollection>(
      static_cast<rt::ControlsCollectionHost&>(*this), compiled_->memberSlots().subspan(1));
  status_ = build();
}

Form1Window::~Form1Window() {
  compiled_->disconnectHandledMembers();
  for (DISPID id : {member::sckServer, member::sckClient}) {
    ComPtr<IUdpSocket> socket;
    const ComPtr<IUnknown>& object = compiled_->memberSlots()[static_cast<size_t>(id)];
    if (object && SUCCEEDED(object.As(socket))) socket->Close();
  }
  collection_.Reset();
  titles_.Reset();
  for (RunTimeControl& control : runTime_) {
    if (IsWindow(control.hwnd)) DestroyWindow(control.hwnd);
  }
  runTime_.clear();
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
      if (std::u16string_view(layout.name) == u"lblTitle") {
        return titles_->addDesignedElement(titleCount_++, slot.Get());
      }
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

namespace {

// A COM object's identity: its IUnknown.
IUnknown* IdentityOf(IUnknown* object) {
  if (!object) return nullptr;
  ComPtr<IUnknown> identity;
  object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  return identity.Get();  // the holder keeps it alive
}

}  // namespace

int Form1Window::layoutIndexOf(IUnknown* control) const {
  IUnknown* identity = IdentityOf(control);
  const auto slots = compiled_->memberSlots();
  for (size_t i = 1; i < slots.size(); ++i) {
    if (slots[i] && IdentityOf(slots[i].Get()) == identity) return static_cast<int>(i) - 1;
  }
  return -1;
}

const Form1Window::RunTimeControl* Form1Window::runTimeControl(IUnknown* control) const {
  IUnknown* identity = IdentityOf(control);
  for (const RunTimeControl& entry : runTime_) {
    if (IdentityOf(entry.object.Get()) == identity) return &entry;
  }
  return nullptr;
}

HWND Form1Window::windowOfControl(IUnknown* control) const {
  const int index = layoutIndexOf(control);
  if (index >= 0) return windows_[static_cast<size_t>(index)];
  const RunTimeControl* made = runTimeControl(control);
  return made ? made->hwnd : nullptr;
}

HRESULT Form1Window::ensureFormLoaded() {
  form_->load();
  return S_OK;
}

HRESULT Form1Window::createElement(IUnknown* templateElement, REFCLSID, const IID*, LONG,
                                   IUnknown** element) {
  HWND model = windowOfControl(templateElement);
  if (!model) return E_FAIL;
  RECT place;
  GetWindowRect(model, &place);
  HWND parent = GetParent(model);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  // A new element starts hidden, where its template is, with its text and font.
  const DWORD style = static_cast<DWORD>(GetWindowLongW(model, GWL_STYLE)) & ~WS_VISIBLE;
  HWND hwnd = CreateWindowExW(0, u"STATIC", WindowText(model).c_str(), style, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, parent, nullptr,
                              nullptr, nullptr);
  if (!hwnd) return E_FAIL;
  SendMessageW(hwnd, WM_SETFONT, SendMessageW(model, WM_GETFONT, 0, 0), FALSE);
  ComPtr<WindowLabel> label = rt::MakeComObject<WindowLabel>();
  label->attach(hwnd);
  const int index = layoutIndexOf(templateElement);
  runTime_.push_back(
      {label->unknown(), hwnd,
       index >= 0 ? Form1Layout()[static_cast<size_t>(index)].name : nameOf(templateElement)});
  *element = label->unknown();
  (*element)->AddRef();
  return S_OK;
}

bool Form1Window::createdAtRunTime(IUnknown* element) {
  return runTimeControl(element) != nullptr;
}

void Form1Window::removeElement(IUnknown* element) {
  IUnknown* identity = IdentityOf(element);
  std::erase_if(runTime_, [identity](const RunTimeControl& entry) {
    if (IdentityOf(entry.object.Get()) != identity) return false;
    if (IsWindow(entry.hwnd)) DestroyWindow(entry.hwnd);
    return true;
  });
}

std::u16string Form1Window::nameOf(IUnknown* control) {
  const int index = layoutIndexOf(control);
  if (index >= 0) return Form1Layout()[static_cast<size_t>(index)].name;
  const RunTimeControl* made = runTimeControl(control);
  return made ? made->name : std::u16string();
}

rt::ControlArray* Form1Window::arrayOf(IUnknown* control) {
  return nameOf(control) == u"lblTitle" ? titles_.Get() : nullptr;
}

bool Form1Window::isEngineControl(IUnknown* control) {
  return layoutIndexOf(control) >= 0 || createdAtRunTime(control);
}

}  // namespace skiffwire

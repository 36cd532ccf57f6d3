#include "support/ControlDrivers.h"

#include "app/members/ITimer.h"
#include "platform/controls.h"
#include "support/AppTestSupport.h"

namespace skiffwire::testing {
namespace {

DISPID IdOf(IDispatch* object, std::u16string_view name) {
  std::u16string member(name);
  LPOLESTR names[] = {member.data()};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  return id;
}

std::u16string TextOf(const Variant& value) {
  if (value.vt != VT_BSTR || !value.bstrVal) return {};
  return std::u16string(value.bstrVal, SysStringLen(value.bstrVal));
}

LONG LongOf(const Variant& value) {
  Variant converted;
  if (FAILED(VariantChangeType(converted.out(), &value, 0, VT_I4))) return 0;
  return converted.lVal;
}

}  // namespace

ControlDriver::ControlDriver(IUnknown* control, const DriverContext& context) : context_(context) {
  if (control) control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object_));
}

HWND ControlDriver::hwnd() const {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(LongOf(get(u"hWnd"))));
}

Variant ControlDriver::get(std::u16string_view name) const {
  Variant out;
  if (!object_) return out;
  context_.ensureFormLoaded();
  DISPPARAMS none{};
  object_->Invoke(IdOf(object_.Get(), name), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, out.out(),
                  nullptr, nullptr);
  return out;
}

HRESULT ControlDriver::put(std::u16string_view name, Variant value) const {
  if (!object_) return E_POINTER;
  context_.ensureFormLoaded();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return object_->Invoke(IdOf(object_.Get(), name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &params,
                         nullptr, nullptr, nullptr);
}

bool ControlDriver::enabled() const {
  const Variant value = get(u"Enabled");
  return value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
}

std::u16string TextBoxDriver::text() const {
  return TextOf(get(u"Text"));
}

void TextBoxDriver::type(std::u16string_view text) const {
  if (text == this->text()) return;
  HWND box = hwnd();
  std::u16string replacement(text);
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
}

LONG TextBoxDriver::selStart() const {
  return LongOf(get(u"SelStart"));
}

LONG TextBoxDriver::selLength() const {
  return LongOf(get(u"SelLength"));
}

std::u16string ButtonDriver::caption() const {
  return TextOf(get(u"Caption"));
}

HRESULT ButtonDriver::put_Caption(std::u16string_view caption) const {
  return put(u"Caption", Variant::Str(caption));
}

bool ButtonDriver::click() const {
  context_.ensureFormShown();
  const bool wasEnabled = enabled();
  RECT rect{};
  GetWindowRect(hwnd(), &rect);
  context_.display.click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PumpPending();
  return wasEnabled;
}

std::u16string LabelDriver::caption() const {
  return TextOf(get(u"Caption"));
}

HRESULT LabelDriver::put_Caption(std::u16string_view caption) const {
  return put(u"Caption", Variant::Str(caption));
}

SHORT CheckBoxDriver::value() const {
  return static_cast<SHORT>(LongOf(get(u"Value")));
}

HRESULT CheckBoxDriver::put_Value(SHORT value) const {
  return put(u"Value", Variant::I2(value));
}

COLORREF ShapeDriver::fillColor() const {
  return static_cast<COLORREF>(LongOf(get(u"FillColor")));
}

TimerDriver::TimerDriver(IUnknown* control, const DriverContext& context)
    : ControlDriver(control, context) {
  auto sink =
      rt::MakeComObject<rt::EventSink>(DIID_TimerEvents, [this](DISPID event, const DISPPARAMS&) {
        if (event == kTimerEvent) ++ticks_;
        return S_OK;
      });
  if (SUCCEEDED(sink->connect(control))) sink_ = sink;
}

TimerDriver::~TimerDriver() {
  if (sink_) sink_->disconnect();
}

bool TimerDriver::running() const {
  return enabled() && LongOf(get(u"Interval")) > 0;
}

std::u16string FormDriver::caption() const {
  return TextOf(get(u"Caption"));
}

}  // namespace skiffwire::testing

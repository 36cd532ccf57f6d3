#include "runtime/com/EventSink.h"

#include "runtime/core/ThreadErrorContext.h"

namespace rt {

EventSink::EventSink(const IID& eventInterface, Handler handler)
    : eventInterface_(eventInterface), handler_(std::move(handler)) {}

EventSink::~EventSink() {
  disconnect();
}

void* EventSink::queryExtraInterface(REFIID riid) {
  return riid == eventInterface_ ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                          UINT*) {
  static const DISPPARAMS kNoArguments{nullptr, nullptr, 0, 0};
  ComPtr<IDispatch> keepAlive(this);
  RuntimeInvokeScope firingEvent;
  return handler_(id, params ? *params : kNoArguments);
}

HRESULT EventSink::connect(IUnknown* source) {
  disconnect();
  if (!source) return E_POINTER;
  ComPtr<IConnectionPointContainer> container;
  HRESULT hr =
      source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) return hr;
  hr = container->FindConnectionPoint(eventInterface_, &point_);
  if (FAILED(hr)) return hr;
  hr = point_->Advise(static_cast<IDispatch*>(this), &cookie_);
  if (FAILED(hr)) point_.Reset();
  return hr;
}

void EventSink::disconnect() {
  if (!point_) return;
  point_->Unadvise(cookie_);
  point_.Reset();
  cookie_ = 0;
}

}  // namespace rt

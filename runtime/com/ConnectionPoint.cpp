#include "runtime/com/ConnectionPoint.h"

#include <algorithm>

namespace rt {

ConnectionPoint::ConnectionPoint(const IID& eventInterface, IConnectionPointContainer* container)
    : eventInterface_(eventInterface), container_(container) {}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = eventInterface_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = container_;
  if (!container_) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(eventInterface_, reinterpret_cast<void**>(&dispatch))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.push_back({*cookie, std::move(dispatch)});
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  auto found = std::find_if(sinks_.begin(), sinks_.end(),
                            [&](const Connection& c) { return c.cookie == cookie; });
  if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
  sinks_.erase(found);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

HRESULT ConnectionPoint::fire(DISPID event, std::initializer_list<VARIANT> arguments) {
  return fire(event, std::span<const VARIANT>(arguments.begin(), arguments.size()));
}

HRESULT ConnectionPoint::fire(DISPID event, std::span<const VARIANT> arguments) {
  if (sinks_.empty()) return S_OK;
  std::vector<VARIANT> reversed(arguments.begin(), arguments.end());
  std::reverse(reversed.begin(), reversed.end());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  // A handler may unadvise (or the owner may die) while events are delivered:
  // work on counted copies.
  std::vector<ComPtr<IDispatch>> targets;
  for (const Connection& c : sinks_)
    targets.push_back(c.sink);
  ComPtr<IConnectionPoint> self(this);
  HRESULT result = S_OK;
  for (const ComPtr<IDispatch>& sink : targets) {
    HRESULT hr =
        sink->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

void ConnectionPoint::detach() {
  container_ = nullptr;
  sinks_.clear();
}

}  // namespace rt

// What every simulated control shares: no late binding, and one event
// interface offered through IConnectionPointContainer, fired synchronously
// like the intrinsic controls fire theirs.
#pragma once

#include <initializer_list>

#include "runtime/com/ComObject.h"
#include "runtime/com/ConnectionPoint.h"
#include "runtime/com/NoTypeInfo.h"

namespace skiffwire {

template <typename Derived, typename Members>
class SimulatedControl : public rt::ComObject<Derived, Members, IConnectionPointContainer> {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override { return rt::NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return rt::NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (riid != eventInterface_) return CONNECT_E_NOCONNECTION;
    events_.CopyTo(reinterpret_cast<rt::ConnectionPoint**>(point));
    return S_OK;
  }

 protected:
  explicit SimulatedControl(const IID& eventInterface)
      : eventInterface_(eventInterface),
        events_(rt::MakeComObject<rt::ConnectionPoint>(eventInterface, this)) {}
  ~SimulatedControl() override { events_->detach(); }

  // Raises an event on the connected sinks. What the handler makes of it is
  // the handler's affair (an error it does not take is reported by the
  // runtime), so the control goes on either way.
  void raise(DISPID event, std::initializer_list<VARIANT> arguments = {}) {
    events_->fire(event, arguments);
  }

 private:
  IID eventInterface_;
  ComPtr<rt::ConnectionPoint> events_;
};

}  // namespace skiffwire

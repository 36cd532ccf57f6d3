// One outgoing (event) interface of an object: the sinks advised to it and
// the firing of events to them through IDispatch::Invoke.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "platform/oleauto.h"
#include "runtime/com/ComObject.h"

namespace rt {

class ConnectionPoint final : public ComObject<ConnectionPoint, IConnectionPoint> {
 public:
  // container is the object that owns this point; it must call detach()
  // before it dies.
  ConnectionPoint(const IID& eventInterface, IConnectionPointContainer* container);

  HRESULT GetConnectionInterface(IID* iid) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
  // The sink must answer the event interface or IDispatch.
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT Unadvise(DWORD cookie) override;
  HRESULT EnumConnections(IEnumConnections** connections) override;

  // Calls every sink's Invoke with the event's number and arguments (in the
  // event's declared order; DISPPARAMS holds them reversed). Returns the
  // first failure of a sink, S_OK otherwise and when nobody listens.
  HRESULT fire(DISPID event, std::initializer_list<VARIANT> arguments = {});
  HRESULT fire(DISPID event, std::span<const VARIANT> arguments);

  bool hasSinks() const { return !sinks_.empty(); }
  void detach();

 private:
  struct Connection {
    DWORD cookie;
    ComPtr<IDispatch> sink;
  };

  IID eventInterface_;
  IConnectionPointContainer* container_;  // not owned: the owner outlives its attachment
  std::vector<Connection> sinks_;
  DWORD nextCookie_ = 1;
};

}  // namespace rt

// The form's end of an event connection: a dispatch object that answers the
// control's event interface and hands each event to the form's handler.
//
// Delivering an event stands for the runtime calling a compiled event
// procedure, so it runs with the runtime-invoke flag set: an error that
// leaves the handler is reported as unhandled instead of being returned.
#pragma once

#include <functional>

#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"

namespace rt {

class EventSink final : public ComObject<EventSink, IDispatch> {
 public:
  using Handler = std::function<HRESULT(DISPID event, const DISPPARAMS& arguments)>;

  EventSink(const IID& eventInterface, Handler handler);

  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // Advises this sink to the object's connection point for the event
  // interface; the returned cookie undoes it through disconnect.
  HRESULT connect(IUnknown* source);
  void disconnect();

 protected:
  void* queryExtraInterface(REFIID riid) override;

 private:
  ~EventSink() override;
  friend class ComObject<EventSink, IDispatch>;

  IID eventInterface_;
  Handler handler_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace rt

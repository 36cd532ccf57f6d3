// The socket control as the form holds it: hosted by the control extender
// (created from its class identifier through the class registry, its events
// passed on by the extender), with the control's members forwarded in their
// order to the hosted control; without a control each fails with run-time
// error 91. Error information, events and late-bound calls go through the
// extender too.
#pragma once

#include "app/udp/IUdpSocket.h"
#include "runtime/com/ComObject.h"
#include "runtime/controls/extender/ActiveXControlExtender.h"

namespace skiffwire {

class HostedUdpSocket final : public rt::ComObject<HostedUdpSocket, IUdpSocket,
                                                   IConnectionPointContainer, ISupportErrorInfo> {
 public:
  // The class identifier as a form design stores it.
  static constexpr const char16_t* kClassId = u"{248DD896-BB45-11CF-9ABC-0080C7E7B78D}";

  // An empty extender of its own: create() hosts the control, and the
  // control goes with this object.
  HostedUdpSocket();
  HRESULT create();
  // The typed view of an extender a form's design created (the form unloads
  // the control).
  explicit HostedUdpSocket(ComPtr<rt::ActiveXControlExtender> extender);

  rt::ActiveXControlExtender& extender() { return *extender_; }

  HRESULT Close() override;
  HRESULT get_RemoteHost(BSTR* host) override;
  HRESULT put_RemoteHost(BSTR host) override;
  HRESULT get_RemotePort(LONG* port) override;
  HRESULT put_RemotePort(LONG port) override;
  HRESULT get_LocalPort(LONG* port) override;
  HRESULT put_LocalPort(LONG port) override;
  HRESULT get_Protocol(LONG* protocol) override;
  HRESULT put_Protocol(LONG protocol) override;
  HRESULT get_State(SHORT* state) override;
  HRESULT get_BytesReceived(LONG* bytes) override;
  HRESULT get_LocalHostName(BSTR* name) override;
  HRESULT get_LocalIP(BSTR* address) override;
  HRESULT get_RemoteHostIP(BSTR* address) override;
  HRESULT get_SocketHandle(LONG* handle) override;
  HRESULT Bind(VARIANT localPort, VARIANT localIP) override;
  HRESULT Listen() override;
  HRESULT Accept(LONG requestId) override;
  HRESULT SendData(VARIANT data) override;
  HRESULT GetData(VARIANT* data, VARIANT type, VARIANT maxLength) override;
  HRESULT PeekData(VARIANT* data, VARIANT type, VARIANT maxLength) override;
  HRESULT AboutBox() override;
  HRESULT Connect(VARIANT remoteHost, VARIANT remotePort) override;
  HRESULT get_Tag(BSTR* tag) override;
  HRESULT put_Tag(BSTR tag) override;

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  ~HostedUdpSocket() override;
  friend class rt::ComObject<HostedUdpSocket, IUdpSocket, IConnectionPointContainer,
                             ISupportErrorInfo>;

  // Calls the hosted control's member, or fails with error 91.
  template <typename Call>
  HRESULT forward(Call call) {
    ComPtr<IUdpSocket> control;
    if (HRESULT hr = extender_->hosted(control); FAILED(hr)) return hr;
    return call(*control.Get());
  }

  ComPtr<rt::ActiveXControlExtender> extender_;
  bool ownsControl_ = true;
};

}  // namespace skiffwire

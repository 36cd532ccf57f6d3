#include "app/udp/HostedUdpSocket.h"

namespace skiffwire {

HostedUdpSocket::HostedUdpSocket() : extender_(rt::MakeComObject<rt::ActiveXControlExtender>()) {}

HostedUdpSocket::HostedUdpSocket(ComPtr<rt::ActiveXControlExtender> extender)
    : extender_(std::move(extender)), ownsControl_(false) {}

HostedUdpSocket::~HostedUdpSocket() {
  if (ownsControl_) extender_->unload();
}

HRESULT HostedUdpSocket::create() {
  return extender_->createFromDesign(kClassId, IID_IUdpSocket, DIID_UdpSocketEvents);
}

HRESULT HostedUdpSocket::Close() {
  return forward([](IUdpSocket& s) { return s.Close(); });
}
HRESULT HostedUdpSocket::get_RemoteHost(BSTR* host) {
  return forward([&](IUdpSocket& s) { return s.get_RemoteHost(host); });
}
HRESULT HostedUdpSocket::put_RemoteHost(BSTR host) {
  return forward([&](IUdpSocket& s) { return s.put_RemoteHost(host); });
}
HRESULT HostedUdpSocket::get_RemotePort(LONG* port) {
  return forward([&](IUdpSocket& s) { return s.get_RemotePort(port); });
}
HRESULT HostedUdpSocket::put_RemotePort(LONG port) {
  return forward([&](IUdpSocket& s) { return s.put_RemotePort(port); });
}
HRESULT HostedUdpSocket::get_LocalPort(LONG* port) {
  return forward([&](IUdpSocket& s) { return s.get_LocalPort(port); });
}
HRESULT HostedUdpSocket::put_LocalPort(LONG port) {
  return forward([&](IUdpSocket& s) { return s.put_LocalPort(port); });
}
HRESULT HostedUdpSocket::get_Protocol(LONG* protocol) {
  return forward([&](IUdpSocket& s) { return s.get_Protocol(protocol); });
}
HRESULT HostedUdpSocket::put_Protocol(LONG protocol) {
  return forward([&](IUdpSocket& s) { return s.put_Protocol(protocol); });
}
HRESULT HostedUdpSocket::get_State(SHORT* state) {
  return forward([&](IUdpSocket& s) { return s.get_State(state); });
}
HRESULT HostedUdpSocket::get_BytesReceived(LONG* bytes) {
  return forward([&](IUdpSocket& s) { return s.get_BytesReceived(bytes); });
}
HRESULT HostedUdpSocket::get_LocalHostName(BSTR* name) {
  return forward([&](IUdpSocket& s) { return s.get_LocalHostName(name); });
}
HRESULT HostedUdpSocket::get_LocalIP(BSTR* address) {
  return forward([&](IUdpSocket& s) { return s.get_LocalIP(address); });
}
HRESULT HostedUdpSocket::get_RemoteHostIP(BSTR* address) {
  return forward([&](IUdpSocket& s) { return s.get_RemoteHostIP(address); });
}
HRESULT HostedUdpSocket::get_SocketHandle(LONG* handle) {
  return forward([&](IUdpSocket& s) { return s.get_SocketHandle(handle); });
}
HRESULT HostedUdpSocket::Bind(VARIANT localPort, VARIANT localIP) {
  return forward([&](IUdpSocket& s) { return s.Bind(localPort, localIP); });
}
HRESULT HostedUdpSocket::Listen() {
  return forward([](IUdpSocket& s) { return s.Listen(); });
}
HRESULT HostedUdpSocket::Accept(LONG requestId) {
  return forward([&](IUdpSocket& s) { return s.Accept(requestId); });
}
HRESULT HostedUdpSocket::SendData(VARIANT data) {
  return forward([&](IUdpSocket& s) { return s.SendData(data); });
}
HRESULT HostedUdpSocket::GetData(VARIANT* data, VARIANT type, VARIANT maxLength) {
  return forward([&](IUdpSocket& s) { return s.GetData(data, type, maxLength); });
}
HRESULT HostedUdpSocket::PeekData(VARIANT* data, VARIANT type, VARIANT maxLength) {
  return forward([&](IUdpSocket& s) { return s.PeekData(data, type, maxLength); });
}
HRESULT HostedUdpSocket::AboutBox() {
  return forward([](IUdpSocket& s) { return s.AboutBox(); });
}
HRESULT HostedUdpSocket::Connect(VARIANT remoteHost, VARIANT remotePort) {
  return forward([&](IUdpSocket& s) { return s.Connect(remoteHost, remotePort); });
}
HRESULT HostedUdpSocket::get_Tag(BSTR* tag) {
  return forward([&](IUdpSocket& s) { return s.get_Tag(tag); });
}
HRESULT HostedUdpSocket::put_Tag(BSTR tag) {
  return forward([&](IUdpSocket& s) { return s.put_Tag(tag); });
}

HRESULT HostedUdpSocket::GetTypeInfoCount(UINT* count) {
  return extender_->GetTypeInfoCount(count);
}
HRESULT HostedUdpSocket::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
  return extender_->GetTypeInfo(index, lcid, info);
}
HRESULT HostedUdpSocket::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                       DISPID* ids) {
  return extender_->GetIDsOfNames(riid, names, count, lcid, ids);
}
HRESULT HostedUdpSocket::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
  return extender_->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

HRESULT HostedUdpSocket::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return extender_->EnumConnectionPoints(points);
}
HRESULT HostedUdpSocket::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  return extender_->FindConnectionPoint(riid, point);
}

HRESULT HostedUdpSocket::InterfaceSupportsErrorInfo(REFIID riid) {
  ComPtr<ISupportErrorInfo> info;
  if (!extender_->control() || FAILED(ComPtr<IUnknown>(extender_->control()).As(info))) {
    return S_FALSE;
  }
  return info->InterfaceSupportsErrorInfo(riid == IID_IUdpSocket ? IID_IUdpSocket : riid);
}

}  // namespace skiffwire

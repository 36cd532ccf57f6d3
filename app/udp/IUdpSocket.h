// The UDP socket control's interface: the class and interface identifiers,
// the members in the order of the control's type library (the first 25 after
// the dispatch operations, with the argument shapes the ActiveX extender
// forwards), and its event interface.
#pragma once

#include "platform/com.h"
#include "platform/oleauto.h"

namespace skiffwire {

inline constexpr CLSID CLSID_UdpSocket{
    0x248DD896, 0xBB45, 0x11CF, {0x9A, 0xBC, 0x00, 0x80, 0xC7, 0xE7, 0xB7, 0x8D}};
inline constexpr IID IID_IUdpSocket{
    0x248DD892, 0xBB45, 0x11CF, {0x9A, 0xBC, 0x00, 0x80, 0xC7, 0xE7, 0xB7, 0x8D}};
// The dispatch interface of the control's events.
inline constexpr IID DIID_UdpSocketEvents{
    0x5A2F7CF6, 0x4C64, 0x4581, {0xAF, 0x69, 0xC7, 0x65, 0xDB, 0xEF, 0x82, 0x7D}};

// DataArrival(bytesTotal As Long): raised once for every datagram that
// arrives, on the thread that created the control.
inline constexpr DISPID kDataArrivalEvent = 0;

// Protocol values.
inline constexpr LONG kTcpProtocol = 0;
inline constexpr LONG kUdpProtocol = 1;

// State values.
enum SocketState : SHORT {
  kStateClosed = 0,
  kStateOpen = 1,
  kStateListening = 2,
  kStateConnectionPending = 3,
  kStateResolvingHost = 4,
  kStateHostResolved = 5,
  kStateConnecting = 6,
  kStateConnected = 7,
  kStateClosing = 8,
  kStateError = 9,
};

struct IUdpSocket : IDispatch {
  // 1: closes the socket and drops every pending datagram.
  virtual HRESULT Close() = 0;
  // 2 to 15: properties.
  virtual HRESULT get_RemoteHost(BSTR* host) = 0;
  virtual HRESULT put_RemoteHost(BSTR host) = 0;
  virtual HRESULT get_RemotePort(LONG* port) = 0;
  virtual HRESULT put_RemotePort(LONG port) = 0;
  virtual HRESULT get_LocalPort(LONG* port) = 0;
  virtual HRESULT put_LocalPort(LONG port) = 0;
  virtual HRESULT get_Protocol(LONG* protocol) = 0;
  virtual HRESULT put_Protocol(LONG protocol) = 0;
  virtual HRESULT get_State(SHORT* state) = 0;
  virtual HRESULT get_BytesReceived(LONG* bytes) = 0;
  virtual HRESULT get_LocalHostName(BSTR* name) = 0;
  virtual HRESULT get_LocalIP(BSTR* address) = 0;
  virtual HRESULT get_RemoteHostIP(BSTR* address) = 0;
  virtual HRESULT get_SocketHandle(LONG* handle) = 0;
  // 16: binds LocalPort (or the given port) on the given address, every
  // local address when it is missing.
  virtual HRESULT Bind(VARIANT localPort, VARIANT localIP) = 0;
  // 17 and 18: stream sockets only.
  virtual HRESULT Listen() = 0;
  virtual HRESULT Accept(LONG requestId) = 0;
  // 19: sends the data (text in the ANSI code page, or a byte array) as one
  // datagram to RemoteHost:RemotePort, setting the socket up if needed.
  virtual HRESULT SendData(VARIANT data) = 0;
  // 20 and 21: the oldest pending datagram as a string (converted from the
  // ANSI code page) into the variable `data` refers to; GetData removes it.
  virtual HRESULT GetData(VARIANT* data, VARIANT type, VARIANT maxLength) = 0;
  virtual HRESULT PeekData(VARIANT* data, VARIANT type, VARIANT maxLength) = 0;
  // 22: no about box on this platform.
  virtual HRESULT AboutBox() = 0;
  // 23: sets RemoteHost and RemotePort (a datagram socket has no connection).
  virtual HRESULT Connect(VARIANT remoteHost, VARIANT remotePort) = 0;
  // 24 and 25.
  virtual HRESULT get_Tag(BSTR* tag) = 0;
  virtual HRESULT put_Tag(BSTR tag) = 0;

 protected:
  ~IUdpSocket() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::IUdpSocket> {
  static constexpr const IID& value = skiffwire::IID_IUdpSocket;
};

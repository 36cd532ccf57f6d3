// The UDP socket control: non-blocking POSIX datagram sockets whose
// readiness arrives as messages at a hidden window of the control
// (WSAAsyncSelect), so that DataArrival is raised on the thread that created
// the control, once for every datagram that arrives.
//
// Received datagrams wait in a bounded queue until GetData takes the oldest;
// what overflows it is dropped and counted. A DataArrival handler may pump
// messages (DoEvents) and so receive further DataArrival events inside
// itself; that nesting stops at kMaxEventNesting, past which later arrivals
// are raised once the handlers return, so a flood cannot exhaust the stack.
#pragma once

#include <netinet/in.h>

#include <memory>
#include <optional>
#include <string>

#include "app/support/HiddenWindow.h"
#include "app/udp/IUdpSocket.h"
#include "app/udp/internal/ReceiveQueue.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/ConnectionPoint.h"
#include "runtime/com/NoTypeInfo.h"

namespace skiffwire {

class UdpSocket final : public rt::ComObject<UdpSocket, IUdpSocket, IConnectionPointContainer,
                                             ISupportErrorInfo, IProvideClassInfo2> {
 public:
  static constexpr int kMaxEventNesting = 8;
  static constexpr size_t kMaxQueuedDatagrams = 4096;
  static constexpr size_t kMaxQueuedBytes = 16 * 1024 * 1024;
  // DataArrival events raised for one message before the rest is handed to a
  // later message, so the loop stays responsive under a flood.
  static constexpr int kEventsPerMessage = 64;

  UdpSocket();

  // IDispatch: the control is called through its interface; no late binding.
  HRESULT GetTypeInfoCount(UINT* count) override { return rt::NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return rt::NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // IUdpSocket
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

  // IConnectionPointContainer: the one point of DIID_UdpSocketEvents.
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

  // IProvideClassInfo2: hosts learn the event interface to connect to.
  HRESULT GetClassInfo(ITypeInfo** info) override;
  HRESULT GetGUID(DWORD guidKind, GUID* guid) override;

  // Diagnostics for tests and benchmarks.
  size_t pendingDatagrams() const { return queue_.size(); }
  uint64_t droppedDatagrams() const { return queue_.dropped(); }
  int deepestEventNesting() const { return deepestNesting_; }
  uint64_t eventsRaised() const { return eventsRaised_; }

 protected:
  void* queryExtraInterface(REFIID riid) override;

 private:
  ~UdpSocket() override;
  friend class rt::ComObject<UdpSocket, IUdpSocket, IConnectionPointContainer, ISupportErrorInfo,
                             IProvideClassInfo2>;

  HRESULT openSocket(in_addr_t address, LONG port);
  void closeSocket();
  HRESULT destination(sockaddr_in* to);
  HRESULT takeData(VARIANT* data, const VARIANT& type, const VARIANT& maxLength, bool remove);

  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void drain();
  void announce();
  void postAnnounce();

  LONG protocol_ = kTcpProtocol;
  LONG localPort_ = 0;
  LONG remotePort_ = 0;
  std::u16string remoteHost_;
  std::optional<sockaddr_in> resolvedRemote_;
  std::u16string tag_;
  int fd_ = -1;
  SHORT state_ = kStateClosed;

  internal::ReceiveQueue queue_{kMaxQueuedDatagrams, kMaxQueuedBytes};
  // Datagrams queued whose DataArrival has not been raised yet.
  size_t unannounced_ = 0;
  int nesting_ = 0;
  int deepestNesting_ = 0;
  uint64_t eventsRaised_ = 0;
  bool announcePosted_ = false;

  ComPtr<rt::ConnectionPoint> events_;
  std::unique_ptr<HiddenWindow> window_;
};

}  // namespace skiffwire

#include "app/udp/UdpSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "app/udp/internal/SocketError.h"
#include "platform/kernel.h"
#include "platform/sockets.h"

namespace skiffwire {

using internal::ReportSocketError;
using internal::SocketErrorFromErrno;
using internal::SocketErrorOf;

namespace {

constexpr UINT kSocketMessage = WM_USER + 1;
constexpr UINT kAnnounceMessage = WM_USER + 2;
constexpr size_t kReceiveBufferBytes = 65536;
// Datagrams taken from the socket for one readiness message; the platform
// posts the next message while data remain.
constexpr int kDatagramsPerDrain = 256;
constexpr LONG kMaxPort = 65535;

std::u16string_view ViewOf(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

bool IsMissing(const VARIANT& v) {
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

// The variant's value, followed through references.
const VARIANT& Dereferenced(const VARIANT& v) {
  const VARIANT* p = &v;
  while (p->vt == (VT_VARIANT | VT_BYREF) && p->pvarVal)
    p = p->pvarVal;
  return *p;
}

std::string Narrow(std::u16string_view text) {
  if (text.empty()) return {};
  // ASCII is the same in the code page: the common case needs no table.
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
    return std::string(text.begin(), text.end());
  }
  const int length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::u16string Widen(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::u16string out(static_cast<size_t>(chars), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), chars);
  return out;
}

// The bytes of SendData's argument: a text in the ANSI code page, a byte
// array as it is, anything else as its text.
HRESULT BytesOf(const VARIANT& data, std::string* bytes) {
  const VARIANT& value = Dereferenced(data);
  if (value.vt == (VT_ARRAY | VT_UI1) || value.vt == (VT_ARRAY | VT_UI1 | VT_BYREF)) {
    SAFEARRAY* array = value.vt & VT_BYREF ? *value.pparray : value.parray;
    if (!array) return S_OK;
    void* raw = nullptr;
    if (FAILED(SafeArrayAccessData(array, &raw))) return E_FAIL;
    bytes->assign(static_cast<const char*>(raw), array->rgsabound[0].cElements);
    SafeArrayUnaccessData(array);
    return S_OK;
  }
  if (value.vt == VT_BSTR) {
    *bytes = Narrow(ViewOf(value.bstrVal));
    return S_OK;
  }
  if (value.vt == (VT_BSTR | VT_BYREF)) {
    *bytes = Narrow(ViewOf(*value.pbstrVal));
    return S_OK;
  }
  Variant text;
  HRESULT hr = VariantChangeType(text.out(), &value, VARIANT_ALPHABOOL, VT_BSTR);
  if (FAILED(hr)) return hr;
  *bytes = Narrow(ViewOf(text.bstrVal));
  return S_OK;
}

HRESULT LongOf(const VARIANT& v, LONG* out) {
  Variant converted;
  HRESULT hr = VariantChangeType(converted.out(), &Dereferenced(v), 0, VT_I4);
  if (FAILED(hr)) return hr;
  *out = converted.lVal;
  return S_OK;
}

HRESULT TextOf(const VARIANT& v, std::u16string* out) {
  Variant converted;
  HRESULT hr = VariantChangeType(converted.out(), &Dereferenced(v), VARIANT_ALPHABOOL, VT_BSTR);
  if (FAILED(hr)) return hr;
  *out = ViewOf(converted.bstrVal);
  return S_OK;
}

// Stores a datagram into GetData's target: a string variable, a variant, or
// a byte array when the type asks for one.
HRESULT Store(VARIANT* target, std::string_view bytes, bool asByteArray) {
  Variant value;
  if (asByteArray) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return E_OUTOFMEMORY;
    void* raw = nullptr;
    SafeArrayAccessData(array, &raw);
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(raw));
    SafeArrayUnaccessData(array);
    value.vt = VT_ARRAY | VT_UI1;
    value.parray = array;
  } else {
    value = Variant::Str(Widen(bytes));
  }
  if (target->vt == (VT_BSTR | VT_BYREF)) {
    if (asByteArray) return DISP_E_TYPEMISMATCH;
    SysFreeString(*target->pbstrVal);
    *target->pbstrVal = value.bstrVal;
    value.vt = VT_EMPTY;  // the string now belongs to the variable
    return S_OK;
  }
  VARIANT* destination =
      target->vt == (VT_VARIANT | VT_BYREF) && target->pvarVal ? target->pvarVal : target;
  VariantClear(destination);
  *static_cast<VARIANT*>(destination) = value;
  VariantInit(&value);
  return S_OK;
}

}  // namespace

UdpSocket::UdpSocket()
    : events_(rt::MakeComObject<rt::ConnectionPoint>(DIID_UdpSocketEvents, this)),
      window_(std::make_unique<HiddenWindow>([this](UINT message, WPARAM wParam, LPARAM lParam) {
        return onMessage(message, wParam, lParam);
      })) {}

UdpSocket::~UdpSocket() {
  closeSocket();
  events_->detach();
}

// ---------------------------------------------------------------------------
// IDispatch
// ---------------------------------------------------------------------------

HRESULT UdpSocket::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

HRESULT UdpSocket::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

// ---------------------------------------------------------------------------
// Properties
// ---------------------------------------------------------------------------

HRESULT UdpSocket::get_RemoteHost(BSTR* host) {
  if (!host) return E_POINTER;
  *host = Bstr(remoteHost_).release();
  return S_OK;
}

HRESULT UdpSocket::put_RemoteHost(BSTR host) {
  remoteHost_ = ViewOf(host);
  resolvedRemote_.reset();
  return S_OK;
}

HRESULT UdpSocket::get_RemotePort(LONG* port) {
  if (!port) return E_POINTER;
  *port = remotePort_;
  return S_OK;
}

HRESULT UdpSocket::put_RemotePort(LONG port) {
  if (port < 0 || port > kMaxPort) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidProperty));
  }
  remotePort_ = port;
  resolvedRemote_.reset();
  return S_OK;
}

HRESULT UdpSocket::get_LocalPort(LONG* port) {
  if (!port) return E_POINTER;
  *port = localPort_;
  return S_OK;
}

HRESULT UdpSocket::put_LocalPort(LONG port) {
  if (port < 0 || port > kMaxPort) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidProperty));
  }
  if (fd_ >= 0) return ReportSocketError(SocketErrorOf(internal::kErrorInvalidOperation));
  localPort_ = port;
  return S_OK;
}

HRESULT UdpSocket::get_Protocol(LONG* protocol) {
  if (!protocol) return E_POINTER;
  *protocol = protocol_;
  return S_OK;
}

HRESULT UdpSocket::put_Protocol(LONG protocol) {
  if (protocol != kTcpProtocol && protocol != kUdpProtocol) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidProperty));
  }
  if (fd_ >= 0) return ReportSocketError(SocketErrorOf(internal::kErrorInvalidOperation));
  protocol_ = protocol;
  return S_OK;
}

HRESULT UdpSocket::get_State(SHORT* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT UdpSocket::get_BytesReceived(LONG* bytes) {
  if (!bytes) return E_POINTER;
  *bytes = static_cast<LONG>(std::min<size_t>(queue_.bytes(), INT32_MAX));
  return S_OK;
}

HRESULT UdpSocket::get_LocalHostName(BSTR* name) {
  if (!name) return E_POINTER;
  char host[256] = "";
  gethostname(host, sizeof host - 1);
  *name = Bstr(Widen(host)).release();
  return S_OK;
}

HRESULT UdpSocket::get_LocalIP(BSTR* address) {
  if (!address) return E_POINTER;
  sockaddr_in local{};
  socklen_t length = sizeof local;
  char text[INET_ADDRSTRLEN] = "0.0.0.0";
  if (fd_ >= 0 && getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) == 0) {
    inet_ntop(AF_INET, &local.sin_addr, text, sizeof text);
  }
  *address = Bstr(Widen(text)).release();
  return S_OK;
}

HRESULT UdpSocket::get_RemoteHostIP(BSTR* address) {
  if (!address) return E_POINTER;
  char text[INET_ADDRSTRLEN] = "";
  sockaddr_in to{};
  if (!remoteHost_.empty() && SUCCEEDED(destination(&to))) {
    inet_ntop(AF_INET, &to.sin_addr, text, sizeof text);
  }
  *address = Bstr(Widen(text)).release();
  return S_OK;
}

HRESULT UdpSocket::get_SocketHandle(LONG* handle) {
  if (!handle) return E_POINTER;
  *handle = fd_;
  return S_OK;
}

HRESULT UdpSocket::get_Tag(BSTR* tag) {
  if (!tag) return E_POINTER;
  *tag = Bstr(tag_).release();
  return S_OK;
}

HRESULT UdpSocket::put_Tag(BSTR tag) {
  tag_ = ViewOf(tag);
  return S_OK;
}

// ---------------------------------------------------------------------------
// Methods
// ---------------------------------------------------------------------------

HRESULT UdpSocket::Close() {
  closeSocket();
  return S_OK;
}

HRESULT UdpSocket::Bind(VARIANT localPort, VARIANT localIP) {
  if (protocol_ != kUdpProtocol) {
    return ReportSocketError(SocketErrorOf(internal::kErrorProtocolNotSupported));
  }
  if (fd_ >= 0) return ReportSocketError(SocketErrorOf(internal::kErrorInvalidOperation));
  LONG port = localPort_;
  if (!IsMissing(localPort) && FAILED(LongOf(localPort, &port))) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
  }
  if (port < 0 || port > kMaxPort) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
  }
  in_addr_t address = htonl(INADDR_ANY);
  if (!IsMissing(localIP)) {
    std::u16string text;
    in_addr parsed{};
    if (FAILED(TextOf(localIP, &text)) || inet_pton(AF_INET, Narrow(text).c_str(), &parsed) != 1) {
      return ReportSocketError(SocketErrorOf(internal::kErrorAddressNotAvailable));
    }
    address = parsed.s_addr;
  }
  return openSocket(address, port);
}

HRESULT UdpSocket::Listen() {
  return ReportSocketError(SocketErrorOf(internal::kErrorProtocolNotSupported));
}

HRESULT UdpSocket::Accept(LONG) {
  return ReportSocketError(SocketErrorOf(internal::kErrorProtocolNotSupported));
}

HRESULT UdpSocket::AboutBox() {
  return S_OK;
}

HRESULT UdpSocket::Connect(VARIANT remoteHost, VARIANT remotePort) {
  if (!IsMissing(remoteHost)) {
    std::u16string host;
    if (FAILED(TextOf(remoteHost, &host))) {
      return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
    }
    remoteHost_ = host;
  }
  if (!IsMissing(remotePort)) {
    LONG port = 0;
    if (FAILED(LongOf(remotePort, &port))) {
      return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
    }
    HRESULT hr = put_RemotePort(port);
    if (FAILED(hr)) return hr;
  }
  resolvedRemote_.reset();
  return S_OK;
}

HRESULT UdpSocket::SendData(VARIANT data) {
  if (protocol_ != kUdpProtocol) {
    return ReportSocketError(SocketErrorOf(internal::kErrorProtocolNotSupported));
  }
  std::string bytes;
  if (FAILED(BytesOf(data, &bytes))) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
  }
  sockaddr_in to{};
  HRESULT hr = destination(&to);
  if (FAILED(hr)) return hr;
  // A datagram socket that was never bound takes any free port.
  if (fd_ < 0) {
    hr = openSocket(htonl(INADDR_ANY), 0);
    if (FAILED(hr)) return hr;
  }
  if (sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
             sizeof to) < 0) {
    return ReportSocketError(SocketErrorFromErrno(errno));
  }
  return S_OK;
}

HRESULT UdpSocket::GetData(VARIANT* data, VARIANT type, VARIANT maxLength) {
  return takeData(data, type, maxLength, true);
}

HRESULT UdpSocket::PeekData(VARIANT* data, VARIANT type, VARIANT maxLength) {
  return takeData(data, type, maxLength, false);
}

HRESULT UdpSocket::takeData(VARIANT* data, const VARIANT& type, const VARIANT& maxLength,
                            bool remove) {
  if (!data) return E_POINTER;
  constexpr LONG kStringType = VT_BSTR;
  constexpr LONG kByteArrayType = VT_ARRAY | VT_UI1;
  LONG wanted = kStringType;
  if (!IsMissing(type) &&
      (FAILED(LongOf(type, &wanted)) || (wanted != kStringType && wanted != kByteArrayType))) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
  }
  LONG limit = -1;
  if (!IsMissing(maxLength) && (FAILED(LongOf(maxLength, &limit)) || limit < 0)) {
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidArgument));
  }
  // A datagram is read whole; what lies beyond a maximum length is lost.
  std::string datagram = remove ? queue_.pop() : (queue_.front() ? *queue_.front() : "");
  if (limit >= 0 && datagram.size() > static_cast<size_t>(limit)) datagram.resize(limit);
  return Store(data, datagram, wanted == kByteArrayType);
}

// ---------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------

HRESULT UdpSocket::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT UdpSocket::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (riid != DIID_UdpSocketEvents) return CONNECT_E_NOCONNECTION;
  events_.CopyTo(reinterpret_cast<rt::ConnectionPoint**>(point));
  return S_OK;
}

HRESULT UdpSocket::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == IID_IUdpSocket ? S_OK : S_FALSE;
}

HRESULT UdpSocket::GetClassInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT UdpSocket::GetGUID(DWORD guidKind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (guidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID_UdpSocketEvents;
  return S_OK;
}

void* UdpSocket::queryExtraInterface(REFIID riid) {
  return riid == IID_IProvideClassInfo ? static_cast<IProvideClassInfo2*>(this) : nullptr;
}

// ---------------------------------------------------------------------------
// The socket
// ---------------------------------------------------------------------------

HRESULT UdpSocket::openSocket(in_addr_t address, LONG port) {
  if (!window_->hwnd()) return ReportSocketError(SocketErrorOf(internal::kErrorInvalidOperation));
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return ReportSocketError(SocketErrorFromErrno(errno));
  // Lets a peer on another loopback address use the same port number; a
  // process that holds the port without the option still keeps it from us.
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = address;
  local.sin_port = htons(static_cast<uint16_t>(port));
  if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    const int error = errno;
    close(fd);
    return ReportSocketError(SocketErrorFromErrno(error));
  }
  if (WSAAsyncSelect(fd, window_->hwnd(), kSocketMessage, FD_READ) != 0) {
    close(fd);
    return ReportSocketError(SocketErrorOf(internal::kErrorInvalidOperation));
  }
  socklen_t length = sizeof local;
  getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
  localPort_ = ntohs(local.sin_port);
  fd_ = fd;
  state_ = kStateOpen;
  return S_OK;
}

void UdpSocket::closeSocket() {
  if (fd_ >= 0) {
    WSAAsyncSelect(fd_, window_->hwnd(), 0, 0);
    close(fd_);
    fd_ = -1;
  }
  queue_.clear();
  unannounced_ = 0;
  state_ = kStateClosed;
}

HRESULT UdpSocket::destination(sockaddr_in* to) {
  if (resolvedRemote_) {
    *to = *resolvedRemote_;
    return S_OK;
  }
  if (remoteHost_.empty()) {
    return ReportSocketError(SocketErrorOf(internal::kErrorDestinationRequired));
  }
  const std::string host = Narrow(remoteHost_);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(remotePort_));
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
      return ReportSocketError(SocketErrorOf(internal::kErrorHostNotFound));
    }
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  resolvedRemote_ = address;
  *to = address;
  return S_OK;
}

LRESULT UdpSocket::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ComPtr<IUdpSocket> keepAlive(this);  // a handler may release the control
  if (message == kSocketMessage) {
    if (static_cast<int>(wParam) != fd_ || fd_ < 0) return 0;  // a closed socket's leftover
    if (WSAGETSELECTEVENT(lParam) & FD_READ) drain();
    announce();
    return 0;
  }
  if (message == kAnnounceMessage) {
    announcePosted_ = false;
    announce();
    return 0;
  }
  return DefWindowProcW(window_->hwnd(), message, wParam, lParam);
}

void UdpSocket::drain() {
  std::vector<char> buffer(kReceiveBufferBytes);
  for (int i = 0; i < kDatagramsPerDrain && fd_ >= 0; ++i) {
    ssize_t received = recv(fd_, buffer.data(), buffer.size(), 0);
    if (received < 0) {
      if (errno == EINTR) continue;
      return;  // drained, or an error the next datagram does not share
    }
    if (queue_.push(std::string_view(buffer.data(), static_cast<size_t>(received)))) {
      ++unannounced_;
    }
  }
}

void UdpSocket::announce() {
  // Past the nesting bound the handlers further out raise the rest as they
  // return; nothing is lost, only delayed.
  if (nesting_ >= kMaxEventNesting) return;
  for (int budget = kEventsPerMessage; budget > 0 && unannounced_ > 0 && fd_ >= 0; --budget) {
    --unannounced_;
    ++nesting_;
    deepestNesting_ = std::max(deepestNesting_, nesting_);
    ++eventsRaised_;
    VARIANT bytes;
    VariantInit(&bytes);
    bytes.vt = VT_I4;
    bytes.lVal = static_cast<LONG>(std::min<size_t>(queue_.bytes(), INT32_MAX));
    events_->fire(kDataArrivalEvent, {bytes});
    --nesting_;
  }
  if (unannounced_ > 0 && fd_ >= 0 && nesting_ == 0) postAnnounce();
}

void UdpSocket::postAnnounce() {
  if (announcePosted_) return;
  announcePosted_ = PostMessageW(window_->hwnd(), kAnnounceMessage, 0, 0) != FALSE;
}

}  // namespace skiffwire

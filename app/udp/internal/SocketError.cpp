#include "app/udp/internal/SocketError.h"

#include <cerrno>
#include <cstring>

#include "app/udp/IUdpSocket.h"
#include "platform/oleauto.h"
#include "runtime/core/Status.h"

namespace skiffwire::internal {

namespace {

struct Known {
  int number;
  const char16_t* description;
};

constexpr Known kKnown[] = {
    {10013, u"Permission denied"},
    {10022, u"Invalid argument"},
    {10024, u"Too many open sockets"},
    {10035, u"Operation would block"},
    {10039, u"Destination address required"},
    {10040, u"Datagram too large"},
    {10043, u"Protocol not supported"},
    {10048, u"Address in use"},
    {10049, u"Address not available"},
    {10050, u"Network is down"},
    {10051, u"Network is unreachable"},
    {10055, u"No buffer space available"},
    {10065, u"No route to host"},
    {11001, u"Host not found"},
    {380, u"Invalid property value"},
    {40020, u"Invalid operation at current state"},
};

int NumberOfErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return 10013;
    case EINVAL:
      return 10022;
    case EMFILE:
    case ENFILE:
      return 10024;
    case EAGAIN:
      return 10035;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTONOSUPPORT:
      return 10043;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENOBUFS:
    case ENOMEM:
      return 10055;
    case EHOSTUNREACH:
      return 10065;
    default:
      return 0;
  }
}

}  // namespace

SocketError SocketErrorOf(int number) {
  for (const Known& known : kKnown) {
    if (known.number == number) return {number, known.description};
  }
  return {number, u"Socket error"};
}

SocketError SocketErrorFromErrno(int error) {
  if (int number = NumberOfErrno(error)) return SocketErrorOf(number);
  const char* text = std::strerror(error);
  return {10000 + error, std::u16string(text, text + std::strlen(text))};
}

HRESULT ReportSocketError(const SocketError& error) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(IID_IUdpSocket);
    create->SetSource(const_cast<LPOLESTR>(u"UdpSocket"));
    create->SetDescription(const_cast<LPOLESTR>(error.description.c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(info))) SetErrorInfo(0, info.Get());
  }
  return rt::ErrorStatus(error.number);
}

}  // namespace skiffwire::internal

// The socket control's errors: run-time error numbers (the socket error
// numbers of the platform's sockets, and the control's own) with their
// descriptions, reported with error information.
#pragma once

#include <string>

#include "platform/types.h"

namespace skiffwire::internal {

struct SocketError {
  int number;
  std::u16string description;
};

inline constexpr int kErrorInvalidArgument = 10022;
inline constexpr int kErrorDestinationRequired = 10039;
inline constexpr int kErrorProtocolNotSupported = 10043;
inline constexpr int kErrorAddressNotAvailable = 10049;
inline constexpr int kErrorHostNotFound = 11001;
inline constexpr int kErrorInvalidProperty = 380;
inline constexpr int kErrorInvalidOperation = 40020;

// The error for a POSIX errno value of a socket call.
SocketError SocketErrorFromErrno(int error);
// The error with its fixed description.
SocketError SocketErrorOf(int number);

// Sets the thread's error information (source "UdpSocket") and returns the
// run-time error's status, 0x800A0000 + number.
HRESULT ReportSocketError(const SocketError& error);

}  // namespace skiffwire::internal

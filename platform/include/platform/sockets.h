// Socket readiness as window messages.
//
// WSAAsyncSelect turns readiness of a POSIX socket descriptor into messages
// to a window, delivered on the window's thread through its message loop.
#pragma once

#include "platform/types.h"

inline constexpr LONG FD_READ = 0x01;
inline constexpr LONG FD_WRITE = 0x02;
inline constexpr LONG FD_OOB = 0x04;
inline constexpr LONG FD_ACCEPT = 0x08;
inline constexpr LONG FD_CONNECT = 0x10;
inline constexpr LONG FD_CLOSE = 0x20;

inline constexpr int SOCKET_ERROR = -1;

inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAECONNREFUSED = 10061;

// lParam of a readiness message: the event in the low word, an error code
// (0 for none) in the high word.
constexpr LPARAM WSAMAKESELECTREPLY(WORD event, WORD error) {
  return static_cast<LPARAM>(static_cast<DWORD>(event) | (static_cast<DWORD>(error) << 16));
}
constexpr WORD WSAGETSELECTEVENT(LPARAM lParam) {
  return static_cast<WORD>(lParam & 0xFFFF);
}
constexpr WORD WSAGETSELECTERROR(LPARAM lParam) {
  return static_cast<WORD>((lParam >> 16) & 0xFFFF);
}

// Asks for message `message` at window hwnd (wParam the descriptor, lParam
// WSAMAKESELECTREPLY(event, error)) when the descriptor becomes ready for one
// of `events`. The descriptor is made non-blocking. A new call replaces the
// previous request for the descriptor; events 0 cancels it.
//
// FD_READ is level-triggered but one at a time: after one FD_READ message is
// posted the next is posted only once that message has been retrieved from
// the queue, and again then if data remain. FD_WRITE is posted once, when the
// descriptor is first writable after the call. FD_CLOSE is posted once, when
// the peer has closed and no data remain. Callable from any thread; the
// request ends when the window is destroyed. Returns 0, or SOCKET_ERROR with
// WSAGetLastError() set (WSAENOTSOCK for a bad descriptor, WSAEINVAL for a bad
// window).
int WSAAsyncSelect(int fd, HWND hwnd, UINT message, LONG events);
int WSAGetLastError();
void WSASetLastError(int error);

// WSAAsyncSelect over the owning thread's SocketWatcher.
#include "platform/sockets.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <map>
#include <mutex>

#include "internal/MessageQueue.h"
#include "internal/WindowManager.h"

namespace {

thread_local int t_lastSocketError = 0;

// The queue each descriptor's request lives in, so that a new request for it
// (from any thread, for any window) replaces the old one.
struct Requests {
  std::mutex mutex;
  std::map<int, std::weak_ptr<platform::internal::MessageQueue>> queueByDescriptor;
};

Requests& requests() {
  static Requests r;
  return r;
}

bool isSocket(int fd) {
  struct stat info {};
  return fd >= 0 && fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

int WSAGetLastError() {
  return t_lastSocketError;
}

void WSASetLastError(int error) {
  t_lastSocketError = error;
}

int WSAAsyncSelect(int fd, HWND hwnd, UINT message, LONG events) {
  if (!isSocket(fd)) {
    WSASetLastError(WSAENOTSOCK);
    return SOCKET_ERROR;
  }
  auto w = platform::internal::WindowManager::instance().find(hwnd);
  if (!w || !w->queue() || !w->isAlive()) {
    WSASetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  Requests& r = requests();
  std::lock_guard lock(r.mutex);
  auto& slot = r.queueByDescriptor[fd];
  if (auto previous = slot.lock(); previous && previous != w->queue()) previous->cancelSocket(fd);
  slot = w->queue();
  w->queue()->selectSocket(fd, hwnd, message, events);
  return 0;
}

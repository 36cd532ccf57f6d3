#include "internal/SocketWatcher.h"

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "platform/sockets.h"

namespace platform::internal {
namespace {

int wsaErrorOf(int posixError) {
  switch (posixError) {
    case 0:
      return 0;
    case ECONNREFUSED:
      return WSAECONNREFUSED;
    case ECONNRESET:
    case EPIPE:
      return WSAECONNRESET;
    case ECONNABORTED:
      return WSAECONNABORTED;
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTUNREACH:
      return WSAENETDOWN;
    default:
      return WSAECONNRESET;
  }
}

int pendingSocketError(int fd) {
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

}  // namespace

void SocketWatcher::select(int fd, HWND hwnd, UINT message, LONG events) {
  cancel(fd);
  if (events == 0) return;
  requests_.push_back(Request{fd, hwnd, message, events, true, (events & FD_WRITE) != 0,
                              (events & FD_CLOSE) != 0, false});
}

void SocketWatcher::cancel(int fd) {
  std::erase_if(requests_, [&](const Request& r) { return r.fd == fd; });
}

void SocketWatcher::cancelWindow(HWND hwnd) {
  std::erase_if(requests_, [&](const Request& r) { return r.hwnd == hwnd; });
}

short SocketWatcher::pollEvents(const Request& r) const {
  short events = 0;
  if (r.parked) return 0;
  if ((r.events & FD_READ) && r.readArmed) events |= POLLIN;
  if (r.writePending) events |= POLLOUT;
  if (r.closeArmed) events |= POLLRDHUP;
  return events;
}

void SocketWatcher::appendPollDescriptors(std::vector<pollfd>& fds) const {
  for (const Request& r : requests_) {
    short events = pollEvents(r);
    if (events) fds.push_back(pollfd{r.fd, events, 0});
  }
}

std::vector<SocketWatcher::Readiness> SocketWatcher::collect(const std::vector<pollfd>& fds) {
  std::vector<Readiness> ready;
  std::vector<int> closedDescriptors;
  for (const pollfd& p : fds) {
    if (!p.revents) continue;
    auto it = std::find_if(requests_.begin(), requests_.end(), [&](const Request& r) {
      return r.fd == p.fd && pollEvents(r) == p.events;
    });
    if (it == requests_.end()) continue;
    Request& r = *it;
    size_t before = ready.size();
    if (p.revents & POLLNVAL) {
      closedDescriptors.push_back(r.fd);  // the program closed it: the request ends
      continue;
    }
    bool hungUp = (p.revents & (POLLRDHUP | POLLHUP)) != 0;
    int available = 0;
    if (hungUp) ioctl(r.fd, FIONREAD, &available);
    if ((r.events & FD_READ) && r.readArmed && (p.revents & (POLLIN | POLLERR)) &&
        (!hungUp || available > 0)) {
      // Errors such as a refused datagram reach the program through its read.
      ready.push_back({r.hwnd, r.message, r.fd, FD_READ, 0});
      r.readArmed = false;
    } else if (r.closeArmed && hungUp) {
      int error = (p.revents & POLLERR) ? wsaErrorOf(pendingSocketError(r.fd)) : 0;
      ready.push_back({r.hwnd, r.message, r.fd, FD_CLOSE, error});
      r.closeArmed = false;
      r.readArmed = false;  // nothing more will arrive
      r.writePending = false;
      continue;
    }
    if (r.writePending && (p.revents & (POLLOUT | POLLERR))) {
      int error = (p.revents & POLLERR) ? wsaErrorOf(pendingSocketError(r.fd)) : 0;
      ready.push_back({r.hwnd, r.message, r.fd, FD_WRITE, error});
      r.writePending = false;
    }
    if (hungUp && !r.closeArmed) r.readArmed = r.readArmed && available > 0;
    if ((p.revents & POLLERR) && ready.size() == before) r.parked = true;
  }
  for (int fd : closedDescriptors)
    cancel(fd);
  return ready;
}

void SocketWatcher::rearm(int fd, HWND hwnd, UINT message) {
  for (Request& r : requests_) {
    if (r.fd != fd || r.hwnd != hwnd || r.message != message) continue;
    r.readArmed = true;
    r.parked = false;
  }
}

}  // namespace platform::internal

// The WSAAsyncSelect requests of one thread's windows. Guarded by the owning
// queue's lock: requests come from any thread, readiness is checked by the
// owning thread's message loop.
#pragma once

#include <poll.h>

#include <vector>

#include "platform/user.h"

namespace platform::internal {

class SocketWatcher {
 public:
  struct Readiness {
    HWND hwnd;
    UINT message;
    int fd;
    LONG event;
    int error;
  };

  void select(int fd, HWND hwnd, UINT message, LONG events);
  void cancel(int fd);
  void cancelWindow(HWND hwnd);
  bool empty() const { return requests_.empty(); }

  // Descriptors to poll now, appended to fds (one entry per request that can
  // post something).
  void appendPollDescriptors(std::vector<pollfd>& fds) const;
  // Turns poll results for those descriptors into messages to post; the
  // requests are disarmed until the messages are retrieved.
  std::vector<Readiness> collect(const std::vector<pollfd>& fds);
  // A posted FD_READ message was retrieved: FD_READ may post again.
  void rearm(int fd, HWND hwnd, UINT message);

 private:
  struct Request {
    int fd;
    HWND hwnd;
    UINT message;
    LONG events;
    bool readArmed;
    bool writePending;
    bool closeArmed;
    bool parked;  // an error is pending that only a read clears: wait for the rearm
  };
  short pollEvents(const Request& r) const;

  std::vector<Request> requests_;
};

}  // namespace platform::internal

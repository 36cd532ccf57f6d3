// The timers of one thread. Only that thread touches its table.
//
// A timer ticks on the grid of its period from when it was set; when the
// thread looks after one or more ticks have passed, the timer is marked
// expired once (missed ticks merge) and its next tick is the next grid point
// after now. WM_TIMER is made from the expired mark, so it is never queued
// twice, and a timer killed in its own handler is simply gone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/user.h"

namespace platform::internal {

class TimerTable {
 public:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    TIMERPROC proc;
    uint64_t due;
    bool expired;
    uint64_t expiredAt;
  };

  // Sets or restarts a timer; answers its id (thread timers get one here).
  UINT_PTR set(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC proc, uint64_t now);
  bool kill(HWND hwnd, UINT_PTR id);
  void killAll(HWND hwnd);
  bool empty() const { return timers_.empty(); }

  // Marks the timers whose tick has come.
  void expire(uint64_t now);
  // The expired timer that expired first among those `accept` takes.
  const Timer* firstExpired(const std::function<bool(const Timer&)>& accept) const;
  void acknowledge(HWND hwnd, UINT_PTR id);
  bool hasProcedure(HWND hwnd, UINT_PTR id, TIMERPROC proc) const;
  // The earliest next tick of a timer that is not already expired.
  std::optional<uint64_t> nextDue() const;

 private:
  Timer* findTimer(HWND hwnd, UINT_PTR id);

  std::vector<Timer> timers_;
  UINT_PTR nextThreadTimerId_ = 1;
};

}  // namespace platform::internal

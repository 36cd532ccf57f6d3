#include "internal/TimerTable.h"

#include <algorithm>

namespace platform::internal {

TimerTable::Timer* TimerTable::findTimer(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  return it == timers_.end() ? nullptr : &*it;
}

UINT_PTR TimerTable::set(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC proc, uint64_t now) {
  interval = std::clamp(interval, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  if (!hwnd && (id == 0 || !findTimer(nullptr, id))) {
    // A fresh thread timer id, never 0 and not in use.
    do {
      id = nextThreadTimerId_++;
      if (nextThreadTimerId_ > 0x7FFF) nextThreadTimerId_ = 1;
    } while (findTimer(nullptr, id));
  }
  if (Timer* existing = findTimer(hwnd, id)) {
    *existing = Timer{hwnd, id, interval, proc, now + interval, false, 0};
    return id;
  }
  timers_.push_back(Timer{hwnd, id, interval, proc, now + interval, false, 0});
  return id;
}

bool TimerTable::kill(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerTable::killAll(HWND hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

void TimerTable::expire(uint64_t now) {
  for (Timer& t : timers_) {
    if (t.due > now) continue;
    if (!t.expired) {
      t.expired = true;
      t.expiredAt = t.due;
    }
    uint64_t periods = (now - t.due) / t.interval + 1;
    t.due += periods * t.interval;
  }
}

const TimerTable::Timer* TimerTable::firstExpired(
    const std::function<bool(const Timer&)>& accept) const {
  const Timer* first = nullptr;
  for (const Timer& t : timers_) {
    if (!t.expired || !accept(t)) continue;
    if (!first || t.expiredAt < first->expiredAt) first = &t;
  }
  return first;
}

void TimerTable::acknowledge(HWND hwnd, UINT_PTR id) {
  if (Timer* t = findTimer(hwnd, id)) t->expired = false;
}

bool TimerTable::hasProcedure(HWND hwnd, UINT_PTR id, TIMERPROC proc) const {
  return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && t.proc == proc;
  });
}

std::optional<uint64_t> TimerTable::nextDue() const {
  std::optional<uint64_t> next;
  for (const Timer& t : timers_) {
    if (t.expired) continue;
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

}  // namespace platform::internal

#include "platform/clock.h"

#include <time.h>

#include <map>
#include <mutex>

namespace platform {
namespace {

class SystemClock final : public Clock {
 public:
  uint64_t nowMs() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  }
  void sleepMs(uint32_t ms) override {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
  }
  bool isVirtual() const override { return false; }
};

SystemClock& systemClock() {
  static SystemClock clock;
  return clock;
}

std::atomic<Clock*> g_clock{nullptr};

struct Listeners {
  std::mutex mutex;
  std::map<int, std::function<void()>> byId;
  int nextId = 1;
};

Listeners& listeners() {
  static Listeners l;
  return l;
}

void notifyListeners() {
  Listeners& l = listeners();
  std::lock_guard lock(l.mutex);
  for (auto& [id, fn] : l.byId)
    fn();
}

}  // namespace

Clock& CurrentClock() {
  Clock* c = g_clock.load(std::memory_order_acquire);
  return c ? *c : systemClock();
}

void SetClock(Clock* clock) {
  g_clock.store(clock, std::memory_order_release);
  notifyListeners();
}

void VirtualClock::advance(uint64_t ms) {
  now_.fetch_add(ms, std::memory_order_acq_rel);
  notifyListeners();
}

void VirtualClock::set(uint64_t ms) {
  now_.store(ms, std::memory_order_release);
  notifyListeners();
}

int AddClockListener(std::function<void()> onTimeMoved) {
  Listeners& l = listeners();
  std::lock_guard lock(l.mutex);
  int id = l.nextId++;
  l.byId.emplace(id, std::move(onTimeMoved));
  return id;
}

void RemoveClockListener(int id) {
  Listeners& l = listeners();
  std::lock_guard lock(l.mutex);
  l.byId.erase(id);
}

}  // namespace platform

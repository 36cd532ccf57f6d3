// The replaceable clock behind GetTickCount, Sleep and timers.
//
// The process starts on the system clock (monotonic milliseconds). Tests
// install a VirtualClock: time then stands still until someone advances it,
// and Sleep advances it by the slept amount instead of blocking, so a test can
// drive time-outs deterministically from a single thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on this clock's time line; never decreases.
  virtual uint64_t nowMs() = 0;
  virtual void sleepMs(uint32_t ms) = 0;
  // True when time only moves through advance()/sleepMs(): waits must not
  // compute real-time deadlines from it.
  virtual bool isVirtual() const = 0;
};

// A clock whose time moves only when told to.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint64_t startMs = 0) : now_(startMs) {}

  uint64_t nowMs() override { return now_.load(std::memory_order_acquire); }
  // The sleeping thread moves time forward by the slept amount.
  void sleepMs(uint32_t ms) override { advance(ms); }
  bool isVirtual() const override { return true; }

  // Moves time forward and wakes every waiter so it re-checks its deadlines
  // (due timers fire on the next pass of the message loop). Any thread.
  void advance(uint64_t ms);
  void set(uint64_t ms);

 private:
  std::atomic<uint64_t> now_;
};

// The clock in force for the whole process.
Clock& CurrentClock();

// Replaces the process clock; null restores the system clock. The caller keeps
// the clock alive while it is installed.
void SetClock(Clock* clock);

// Installs a VirtualClock for the lifetime of the object (tests).
class ScopedVirtualClock {
 public:
  explicit ScopedVirtualClock(uint64_t startMs = 0) : clock_(startMs) { SetClock(&clock_); }
  ~ScopedVirtualClock() { SetClock(nullptr); }
  ScopedVirtualClock(const ScopedVirtualClock&) = delete;
  ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;

  VirtualClock& clock() { return clock_; }
  void advance(uint64_t ms) { clock_.advance(ms); }

 private:
  VirtualClock clock_;
};

// Wake-up hooks for waiters that sleep on real primitives (the message queue
// registers one per thread): called after the virtual time moves. Returns an
// id for RemoveClockListener.
int AddClockListener(std::function<void()> onTimeMoved);
void RemoveClockListener(int id);

}  // namespace platform

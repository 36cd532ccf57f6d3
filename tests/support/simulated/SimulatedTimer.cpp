#include "support/simulated/SimulatedTimer.h"

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

SimulatedTimer::SimulatedTimer()
    : SimulatedControl(DIID_TimerEvents),
      window_(std::make_unique<HiddenWindow>([this](UINT message, WPARAM wParam, LPARAM lParam) {
        return onMessage(message, wParam, lParam);
      })) {}

SimulatedTimer::~SimulatedTimer() {
  stop();
}

HRESULT SimulatedTimer::put_Interval(LONG milliseconds) {
  if (milliseconds < 0) {
    return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  }
  interval_ = milliseconds;
  if (!running_ && !enabled_) return S_OK;
  // A new interval restarts the period; 0 stops the timer.
  stop();
  return enabled_ && interval_ != 0 ? start() : S_OK;
}

HRESULT SimulatedTimer::put_Enabled(VARIANT_BOOL enabled) {
  enabled_ = enabled != VARIANT_FALSE;
  if (!enabled_) {
    stop();
    return S_OK;
  }
  // A running timer keeps its period; a stopped one starts.
  if (running_ || interval_ == 0) return S_OK;
  return start();
}

HRESULT SimulatedTimer::start() {
  if (!window_->hwnd() ||
      !SetTimer(window_->hwnd(), kTimerId, static_cast<UINT>(interval_), nullptr)) {
    return rt::SetErrorFromStatus(E_FAIL);
  }
  running_ = true;
  return S_OK;
}

void SimulatedTimer::stop() {
  if (!running_) return;
  KillTimer(window_->hwnd(), kTimerId);
  running_ = false;
}

LRESULT SimulatedTimer::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER || wParam != kTimerId || !running_) {
    return DefWindowProcW(window_->hwnd(), message, wParam, lParam);
  }
  ++ticks_;
  ComPtr<ITimer> keepAlive(this);
  raise(kTimerEvent);
  return 0;
}

}  // namespace skiffwire

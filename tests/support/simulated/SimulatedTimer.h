// A timer over a platform timer of a hidden window: it raises Timer one
// interval after it starts and every interval after that while it runs, as
// the message loop delivers the ticks (on the replaceable clock, so a test's
// virtual clock drives it).
#pragma once

#include <memory>

#include "app/members/ITimer.h"
#include "support/simulated/SimulatedControl.h"
#include "app/support/HiddenWindow.h"

namespace skiffwire {

class SimulatedTimer final : public SimulatedControl<SimulatedTimer, ITimer> {
 public:
  SimulatedTimer();
  ~SimulatedTimer() override;

  HRESULT put_Interval(LONG milliseconds) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;

  LONG interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  bool running() const { return running_; }
  int ticks() const { return ticks_; }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HRESULT start();
  void stop();

  LONG interval_ = 0;
  bool enabled_ = false;
  bool running_ = false;
  int ticks_ = 0;
  std::unique_ptr<HiddenWindow> window_;
};

}  // namespace skiffwire

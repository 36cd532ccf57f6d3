// The Timer: a control without a window that raises Timer (event 1) at a
// fixed period while it is enabled. The system timer belongs to the form's
// timer table; the control passes every change of Interval or Enabled on to
// it (re-arm). Enabled is the enabled flag of the control's engine record.
//
// States: detached (no form loaded: the values wait), idle (Enabled False or
// Interval 0), running. Writing a non-zero Interval while running restarts
// the period.
#pragma once

#include <memory>

#include "app/members/ITimer.h"
#include "runtime/controls/BaseControlNotFocusable.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"

namespace rt {

// {33AD4F28-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_Timer{
    0x33AD4F28, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

inline constexpr DISPID kTimerEvent = 1;

struct TimerDesign {
  CommonDesign common;
  int32_t interval = 0;
};
extern const PropertyLayout kTimerLayout;

class Timer final : public ControlObject<Timer, skiffwire::ITimer> {
 public:
  Timer();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return notFocusable_ ? notFocusable_->rect() : nullptr; }
  BaseControlNotFocusable* notFocusable() { return notFocusable_.get(); }

  // --- ITimer
  HRESULT put_Interval(LONG milliseconds) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;
  HRESULT getInterval(LONG* milliseconds);
  HRESULT getEnabled(VARIANT_BOOL* enabled);

  // --- EngineControl
  void attachRecord(ControlRecord& record) override;
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  bool visible() override { return false; }

  LONG interval_ = 0;
  VARIANT_BOOL unnamedFlag_ = VARIANT_TRUE;

 private:
  friend class ComObject<Timer, skiffwire::ITimer, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~Timer() override = default;

  // The form's timer table holds this control's timer.
  bool attachedToHost() const;

  std::unique_ptr<BaseControlNotFocusable> notFocusable_;
  // Enabled before the engine record exists (it moves there on attach).
  bool enabledBeforeRecord_ = true;
};

}  // namespace rt

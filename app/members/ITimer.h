// The timer members the application uses. Event: Timer (kTimerEvent) through
// DIID_TimerEvents, one interval after the timer starts and every interval
// after that while it runs.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ITimer{
    0x38E0B43D, 0x3C77, 0x4BDB, {0x84, 0xDF, 0x36, 0xB4, 0xD3, 0xB5, 0xD5, 0x95}};

struct ITimer : IDispatch {
  // Milliseconds; 0 stops the timer. Writing it while the timer runs restarts
  // the period. A negative interval fails with run-time error 380.
  virtual HRESULT put_Interval(LONG milliseconds) = 0;
  // True starts a stopped timer whose interval is not 0; false stops it.
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;

 protected:
  ~ITimer() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ITimer> {
  static constexpr const IID& value = skiffwire::IID_ITimer;
};

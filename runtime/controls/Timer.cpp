#include "runtime/controls/Timer.h"

#include "runtime/controls/ControlIds.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/TimerHost.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kTimerFields[] = {
    RT_COMMON_DESIGN_FIELDS(TimerDesign),
    {"Interval", PropertyKind::Long, offsetof(TimerDesign, interval)},
};

}  // namespace

const PropertyLayout kTimerLayout{"Timer", CLSID_Timer, sizeof(TimerDesign), kTimerFields,
                                  skiffwire::DIID_TimerEvents};

Timer::Timer()
    : ControlObject(skiffwire::DIID_TimerEvents),
      notFocusable_(std::make_unique<BaseControlNotFocusable>(dispatch())) {}

const ClassDescriptor& Timer::descriptor() const {
  static const ClassDescriptor cls{u"Timer", &InitialiseRuntimeClass, nullptr, CLSID_Timer};
  return cls;
}

const MemberTable& Timer::Members() {
  using T = Timer;
  static const MemberTable table = [] {
    MemberTable t;
    t.property<VT_I4>(u"Interval", dispid::Interval, &T::getInterval, &T::put_Interval);
    t.property<VT_BOOL>(u"Enabled", dispid::Enabled, &T::getEnabled, &T::put_Enabled);
    t.forward(BaseControlNotFocusable::Members(), &T::notFocusable);
    return t;
  }();
  return table;
}

bool Timer::attachedToHost() const {
  const ControlRecord* own = record();
  if (!own || !own->form) return false;
  for (const TimerEntry& entry : own->form->timers) {
    if (entry.record == own) return true;
  }
  return false;
}

HRESULT Timer::getInterval(LONG* milliseconds) {
  if (!milliseconds) return E_POINTER;
  *milliseconds = interval_;
  return S_OK;
}

HRESULT Timer::put_Interval(LONG milliseconds) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (milliseconds < 0) return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  interval_ = milliseconds;
  if (!attachedToHost()) return S_OK;  // takes effect when the form loads
  SetTimerInterval(*record(), static_cast<uint32_t>(interval_));
  SetTimerEnabled(*record(), record()->timerEnabled);
  return S_OK;
}

HRESULT Timer::getEnabled(VARIANT_BOOL* enabled) {
  if (!enabled) return E_POINTER;
  const ControlRecord* own = record();
  const bool on = own ? own->timerEnabled : enabledBeforeRecord_;
  *enabled = on ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT Timer::put_Enabled(VARIANT_BOOL enabled) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  enabledBeforeRecord_ = enabled != 0;
  ControlRecord* own = record();
  if (!own) return S_OK;
  own->timerEnabled = enabled != 0;
  if (!attachedToHost()) return S_OK;
  SetTimerInterval(*own, static_cast<uint32_t>(interval_));
  SetTimerEnabled(*own, own->timerEnabled);
  return S_OK;
}

void Timer::attachRecord(ControlRecord& record) {
  const bool fresh = this->record() != &record;
  ControlObject::attachRecord(record);
  if (fresh) record.timerEnabled = enabledBeforeRecord_;
}

HRESULT Timer::fillWindowRecord(WindowRecord& window) {
  window.className.clear();
  window.style = 0;
  window.allowsFocus = false;
  return S_OK;
}

HRESULT Timer::readDesign(PropertyReader& reader) {
  TimerDesign design;
  const HRESULT status = reader.readInto(&design, kTimerLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), nullptr);
  interval_ = design.interval < 0 ? 0 : design.interval;
  enabledBeforeRecord_ = design.common.enabled != 0;
  if (ControlRecord* own = record()) own->timerEnabled = enabledBeforeRecord_;
  return S_OK;
}

// The form's timer table takes the timer once; its load starts it.
void Timer::afterCreate(HWND) {
  ControlRecord* own = record();
  if (!own || attachedToHost()) return;
  AddTimer(*own, static_cast<uint32_t>(interval_), own->timerEnabled);
}

}  // namespace rt

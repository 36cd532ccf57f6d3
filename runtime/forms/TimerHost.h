// Timers of Timer controls, kept in their form's timer table. A windowed
// form runs them as window timers of its window; a windowless form as thread
// timers whose callback closure stands for the control.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rt {

struct ControlRecord;

// Registers the Timer control of `record` in its form's timer table (once,
// at creation), with its design interval and enabled flag.
void AddTimer(ControlRecord& record, uint32_t intervalMs, bool enabled);
// Enabling a disabled timer on a loaded form with a non-zero interval starts
// it; disabling stops it.
void SetTimerEnabled(ControlRecord& record, bool enabled);
// On an enabled timer of a loaded form: non-zero restarts with the new
// interval, 0 stops it.
void SetTimerInterval(ControlRecord& record, uint32_t intervalMs);
// Starts every enabled timer with a non-zero interval (form load).
void StartFormTimers(class FormState& form);
void StopFormTimers(class FormState& form);

}  // namespace rt

#include "runtime/forms/TimerHost.h"

#include <functional>
#include <unordered_map>

#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"

namespace rt {
namespace {

// The timer event of a Timer control.
constexpr DISPID TimerEvent = 1;

// Thread timers of windowless forms: each id stands for one closure.
thread_local std::unordered_map<UINT_PTR, std::function<void()>> threadTimers;

void ThreadTimerProcedure(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = threadTimers.find(id);
  if (found == threadTimers.end()) return;
  auto closure = found->second;  // the closure may stop its own timer
  closure();
}

TimerEntry* EntryOf(ControlRecord& record) {
  if (!record.form) return nullptr;
  for (TimerEntry& entry : record.form->timers) {
    if (entry.record == &record) return &entry;
  }
  return nullptr;
}

void Start(FormState& form, TimerEntry& entry) {
  if (entry.intervalMs == 0 || !entry.enabled) return;
  if (form.windowHandle) {
    SetTimer(form.windowHandle, entry.timerId, entry.intervalMs, nullptr);
    entry.running = true;
    return;
  }
  if (!form.windowless) return;
  if (entry.systemTimerId) {
    KillTimer(nullptr, entry.systemTimerId);
    threadTimers.erase(entry.systemTimerId);
  }
  entry.systemTimerId = SetTimer(nullptr, 0, entry.intervalMs, &ThreadTimerProcedure);
  if (!entry.systemTimerId) return;
  ComPtr<EngineControl> object = entry.object;
  threadTimers[entry.systemTimerId] = [object] {
    EngineContext& ctx = CurrentEngineContext();
    ctx.currentTimerObject = object.Get();
    object->raiseEvent(TimerEvent, {});
    ctx.currentTimerObject = nullptr;
  };
  entry.running = true;
}

void Stop(FormState& form, TimerEntry& entry) {
  if (entry.systemTimerId) {
    KillTimer(nullptr, entry.systemTimerId);
    threadTimers.erase(entry.systemTimerId);
    entry.systemTimerId = 0;
  } else if (form.windowHandle && entry.running) {
    KillTimer(form.windowHandle, entry.timerId);
  }
  entry.running = false;
}

bool FormLoaded(const FormState& form) {
  return form.windowHandle || form.windowless;
}

}  // namespace

void AddTimer(ControlRecord& record, uint32_t intervalMs, bool enabled) {
  if (!record.form || EntryOf(record)) return;
  FormState& form = *record.form;
  TimerEntry entry;
  entry.record = &record;
  entry.object = ObjectOf(record);
  entry.intervalMs = intervalMs;
  entry.enabled = enabled;
  entry.timerId = form.timers.size() + 1;
  record.timerEnabled = enabled;
  form.timers.push_back(std::move(entry));
}

void SetTimerEnabled(ControlRecord& record, bool enabled) {
  TimerEntry* entry = EntryOf(record);
  if (!entry) return;
  FormState& form = *record.form;
  record.timerEnabled = enabled;
  if (entry->enabled == enabled) return;
  entry->enabled = enabled;
  if (!FormLoaded(form)) return;
  if (enabled) {
    Start(form, *entry);
  } else {
    Stop(form, *entry);
  }
}

void SetTimerInterval(ControlRecord& record, uint32_t intervalMs) {
  TimerEntry* entry = EntryOf(record);
  if (!entry) return;
  FormState& form = *record.form;
  entry->intervalMs = intervalMs;
  if (!entry->enabled || !FormLoaded(form)) return;
  if (intervalMs == 0) {
    Stop(form, *entry);
    return;
  }
  Start(form, *entry);
}

void StartFormTimers(FormState& form) {
  for (TimerEntry& entry : form.timers)
    Start(form, entry);
}

void StopFormTimers(FormState& form) {
  for (TimerEntry& entry : form.timers)
    Stop(form, entry);
}

}  // namespace rt

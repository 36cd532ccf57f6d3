#include "runtime/forms/FormState.h"

#include <climits>
#include <vector>

#include "runtime/forms/EngineControl.h"
#include "runtime/forms/internal/Navigation.h"

namespace rt {

FormState* FormState::Create(EngineControl* form) {
  return new FormState(form);  // freed by release() at a count of 0
}

FormState::FormState(EngineControl* form) : formObject(form) {
  ControlRecord& rootRecord = newControlRecord();
  rootRecord.window.control = &rootRecord;
}

FormState::~FormState() {
  signature = 0;  // a stale pointer met in a list walk no longer passes the check
  // A stray reference taken while the windows below go away must never
  // bring the count back to 0.
  refCount = INT32_MIN / 2;
  // Windows still alive lose their records first, all of them before any is
  // destroyed, so that their last messages (to the form window too) never
  // reach this record.
  std::vector<HWND> alive;
  for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
    HWND hwnd = (*it)->window.hwnd;
    if (!hwnd) continue;
    ForgetWindow(hwnd);
    (*it)->window.hwnd = nullptr;
    alive.push_back(hwnd);
  }
  for (HWND hwnd : alive) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  for (auto& record : records_) {
    if (record->object && record.get() != records_.front().get()) record->object->terminate();
  }
}

void FormState::release() {
  if (--refCount > 0) return;
  delete this;
}

ControlRecord& FormState::newControlRecord() {
  records_.push_back(std::make_unique<ControlRecord>());
  ControlRecord& record = *records_.back();
  record.form = this;
  record.window.form = this;
  record.window.control = &record;
  record.placement.formDpi = dpi;
  return record;
}

}  // namespace rt

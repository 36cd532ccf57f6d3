// The engine's per-form record: list links, flags of the form's life, its
// owner and owned forms, its window, timers and the records of its controls.
//
// Reference counted: the form object holds one reference (taken at
// creation), list walks and window procedures take one while they work on
// it. The record is freed when the count reaches 0; it then frees the
// records of its controls and its timer table. Every list walk checks the
// signature before trusting a node.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com.h"
#include "platform/user.h"
#include "runtime/forms/ControlRecord.h"

namespace rt {

class EngineControl;
class WindowEventSink;

inline constexpr uint32_t FormStateSignature = 0xEA0701EA;

// One timer of a form (a Timer control).
struct TimerEntry {
  ControlRecord* record = nullptr;
  ComPtr<EngineControl> object;  // the Timer control; its event is raised on expiry
  uint32_t intervalMs = 0;
  UINT_PTR timerId = 0;        // window timer id on the form window
  UINT_PTR systemTimerId = 0;  // thread timer id of a windowless form, 0 when none
  bool enabled = false;
  bool running = false;
};

class FormState {
 public:
  // A new record holding one reference, for the given form object.
  static FormState* Create(EngineControl* formObject);
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  void addRef() { ++refCount; }
  // Frees the record at 0.
  void release();

  // Allocates a control record owned by this form.
  ControlRecord& newControlRecord();
  // The form's own control record (the root of the control tree).
  ControlRecord& root() { return *records_.front(); }
  WindowRecord& window() { return root().window; }
  HWND hwnd() const { return windowHandle; }
  // Every record ever created for this form (removed ones included).
  const std::vector<std::unique_ptr<ControlRecord>>& records() const { return records_; }

  uint32_t signature = FormStateSignature;
  int32_t refCount = 1;
  FormState* next = nullptr;  // loaded-forms list
  FormState* owner = nullptr;
  FormState* ownedHead = nullptr;
  FormState* nextOwned = nullptr;
  EngineControl* formObject = nullptr;    // the form instance (not counted: it owns this record)
  ComPtr<EngineControl> loadedReference;  // keeps the form instance alive while its window exists
  HWND windowHandle = nullptr;
  int dpi = 96;

  bool hidden = true;
  bool destroyedBySystem = false;
  bool beingDestroyed = false;
  bool unloading = false;
  bool closing = false;
  bool queryDone = false;
  bool activateAfterLoad = false;
  bool modal = false;
  bool windowless = false;
  bool stripMaximizeBox = false;
  bool addToolWindow = false;
  bool pendingRelayout = false;
  bool layoutDone = false;
  bool loading = false;
  bool listed = false;        // on the loaded-forms list
  bool isMainWindow = false;  // the record of the hidden application window

  std::vector<FormState*> disabledWindows;  // forms a modal Show disabled (counted)
  std::vector<TimerEntry> timers;
  // Extenders that see each message for the form's controls before it is
  // dispatched (counted).
  std::vector<ComPtr<WindowEventSink>> preTranslate;
  uint16_t controlIdCounter = 256;
  WNDPROC defaultProc = nullptr;  // unhandled messages; null means DefWindowProcW
  // The control that has (or last had) the focus in this form.
  ControlRecord* activeControl = nullptr;

 private:
  explicit FormState(EngineControl* formObject);
  ~FormState();
  std::vector<std::unique_ptr<ControlRecord>> records_;
};

// The object of a record: the control, or for the form's own record the form.
inline EngineControl* ObjectOf(const ControlRecord& record) {
  if (record.object) return record.object.Get();
  if (!record.container && record.form) return record.form->formObject;
  return nullptr;
}

// Holds one reference on a FormState for a scope.
class FormStateRef {
 public:
  FormStateRef() = default;
  explicit FormStateRef(FormState* form) : form_(form) {
    if (form_) form_->addRef();
  }
  FormStateRef(const FormStateRef& other) : FormStateRef(other.form_) {}
  FormStateRef& operator=(FormStateRef other) noexcept {
    std::swap(form_, other.form_);
    return *this;
  }
  ~FormStateRef() {
    if (form_) form_->release();
  }
  FormState* get() const { return form_; }
  FormState* operator->() const { return form_; }
  explicit operator bool() const { return form_ != nullptr; }

 private:
  FormState* form_ = nullptr;
};

}  // namespace rt

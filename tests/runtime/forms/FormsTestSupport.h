// Test doubles of the engine-control interface and a fixture for the forms
// engine tests: a virtual clock, a fresh headless display, and a reset of the
// engine's per-thread context after each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/user.h"
#include "runtime/com/ComObject.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"

namespace forms_test {

struct RaisedEvent {
  std::string who;
  DISPID id;
  std::vector<double> args;  // numeric arguments in order
};

inline std::vector<RaisedEvent>& events() {
  static std::vector<RaisedEvent> log;
  return log;
}

inline std::vector<std::string> eventNames(DISPID id) {
  std::vector<std::string> out;
  for (const auto& e : events()) {
    if (e.id == id) out.push_back(e.who);
  }
  return out;
}

// A control (or a form) as the engine sees it. Its window class, styles and
// answers are plain fields a test sets before the form is loaded.
class TestControl final : public rt::ComObject<TestControl, rt::EngineControl, rt::WindowEventSink,
                                               rt::EngineContainer> {
 public:
  explicit TestControl(std::string name) : name(std::move(name)) {}

  // --- What the test sets -------------------------------------------------
  std::string name;
  std::u16string className;  // empty: windowless
  std::u16string text;
  DWORD style = WS_VISIBLE;
  DWORD exStyle = 0;
  uint32_t flags = 0;
  uint32_t eventFlags = 0;
  bool subclass = false;
  bool allowsFocus = true;
  bool optionStyle = false;
  bool sinkOfOwnWindow = true;  // listens to its own window (presses, commands)
  std::optional<int32_t> tab;
  bool windowlessTabStop = true;
  bool windowlessVisible = true;
  bool windowlessEnabled = true;
  RECT rect{0, 0, 0, 0};  // pixels in the container, for placement and hit tests
  bool isDefault = false;
  bool isCancel = false;
  std::u16string toolTip;
  LONG value = 0;
  bool vetoFocus = false;
  rt::FormSettings settings;
  SHORT cancelUnload = 0;
  std::vector<int> unloadModes;
  std::function<void()> onLoad;
  std::function<void(DISPID)> onEvent;
  std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> onWindowMessage;

  rt::ControlRecord* record = nullptr;
  int windowGoneCount = 0;
  int terminated = 0;

  // --- EngineControl --------------------------------------------------------
  void attachRecord(rt::ControlRecord& r) override { record = &r; }
  HRESULT fillWindowRecord(rt::WindowRecord& w) override {
    w.className = className;
    w.text = text;
    w.style = style;
    w.exStyle = exStyle;
    w.flags = flags;
    w.eventFlags = eventFlags;
    w.subclass = subclass;
    w.allowsFocus = allowsFocus;
    w.optionStyle = optionStyle;
    w.clickEvent = rt::EventClick;
    w.mouseDownEvent = rt::EventMouseDown;
    w.mouseUpEvent = rt::EventMouseUp;
    w.mouseMoveEvent = rt::EventMouseMove;
    if (record && record->container) {
      record->placement.left = rect.left * 15.0;
      record->placement.top = rect.top * 15.0;
      record->placement.width = (rect.right - rect.left) * 15.0;
      record->placement.height = (rect.bottom - rect.top) * 15.0;
    }
    if (sinkOfOwnWindow && record && record->container) rt::AddEventSink(w, this);
    return S_OK;
  }
  void postLoad() override {
    if (onLoad) onLoad();
  }
  void windowGone() override { ++windowGoneCount; }
  void terminate() override { ++terminated; }
  HRESULT raiseEvent(DISPID id, std::span<Variant> args) override {
    RaisedEvent e{name, id, {}};
    for (auto& a : args) {
      Variant copy;
      if (SUCCEEDED(VariantChangeType(&copy, &a, 0, VT_R8))) e.args.push_back(copy.dblVal);
    }
    events().push_back(e);
    if (onEvent) onEvent(id);
    return S_OK;
  }
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
    if (!onWindowMessage) return false;
    std::optional<LRESULT> answer = onWindowMessage(msg, wp, lp);
    if (!answer) return false;
    *result = *answer;
    return true;
  }
  bool windowlessRect(RECT* out) override {
    *out = rect;
    return true;
  }
  bool tabIndex(int32_t* index) override {
    if (!tab) return false;
    *index = *tab;
    return true;
  }
  bool tabStop() override { return windowlessTabStop; }
  bool visible() override { return windowlessVisible; }
  bool enabled() override { return windowlessEnabled; }
  HRESULT getDefaultValue(LONG* v) override {
    *v = value;
    return S_OK;
  }
  HRESULT setDefaultValue(LONG v) override {
    value = v;
    return S_OK;
  }
  std::u16string toolTipText() override { return toolTip; }
  bool isDefaultButton() override { return isDefault; }
  bool isCancelButton() override { return isCancel; }
  bool validate() override { return !vetoFocus; }
  void formSettings(rt::FormSettings& out) override { out = settings; }
  HRESULT beforeUnload(int mode, SHORT* cancel) override {
    unloadModes.push_back(mode);
    *cancel = cancelUnload;
    return S_OK;
  }

  // --- WindowEventSink ----------------------------------------------------------
  void pressDefault() override { raiseEvent(rt::EventClick, {}); }
  void pressCancel() override { raiseEvent(rt::EventClick, {}); }

  // --- EngineContainer ----------------------------------------------------------
  HRESULT childValue(rt::ControlRecord&, Edge, double* v) override {
    *v = 0;
    return S_OK;
  }
  HRESULT setChildValue(rt::ControlRecord&, Edge, double) override { return S_OK; }
  HWND childParentWindow() override { return record ? record->window.hwnd : nullptr; }

  HWND hwnd() const { return record ? record->window.hwnd : nullptr; }

 private:
  friend class rt::ComObject<TestControl, rt::EngineControl, rt::WindowEventSink,
                             rt::EngineContainer>;
  ~TestControl() override = default;
};

inline ComPtr<TestControl> MakeControl(std::string name) {
  return ComPtr<TestControl>::Adopt(new TestControl(std::move(name)));
}

// A form with a caption and a client area of 400 x 300 pixels at 100, 100.
inline ComPtr<TestControl> MakeForm(std::string name) {
  auto form = MakeControl(std::move(name));
  form->className = u"BrammelForm";
  form->text = u"Form";
  form->style = 0;
  form->sinkOfOwnWindow = false;
  form->settings.clientWidth = 400;
  form->settings.clientHeight = 300;
  form->settings.left = 100;
  form->settings.top = 100;
  form->settings.startUpPosition = 0;
  return form;
}

// Adds a control to a form (inside `container` when given).
inline ComPtr<TestControl> AddControl(TestControl& form, std::string name, std::u16string cls,
                                      RECT rect, std::optional<int32_t> tab = std::nullopt,
                                      TestControl* container = nullptr) {
  auto control = MakeControl(std::move(name));
  control->className = std::move(cls);
  control->rect = rect;
  control->tab = tab;
  control->style = WS_VISIBLE | (tab ? WS_TABSTOP : 0);
  rt::FormState* state = rt::FormStateOf(&form);
  rt::BuildControlRecord(*state, container ? container->record : nullptr, control.Get());
  return control;
}

// Handles every queued message through the engine's yield function.
inline void Settle() {
  for (int i = 0; i < 8; ++i)
    rt::Yield();
}

inline rt::FormState& StateOf(TestControl& form) {
  return *rt::FormStateOf(&form);
}

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events().clear();
    rt::StartEngine();
  }
  void TearDown() override {
    rt::ResetEngineContext();
    ReleaseCapture();
    events().clear();
  }

  void advance(uint64_t ms) {
    clock_.advance(ms);
    Settle();
  }

  platform::ScopedVirtualClock clock_{1000};
  platform::ScopedHeadlessDisplay display_{{1024, 768}, 96};
};

}  // namespace forms_test

// A fixture for the control tests: a virtual clock, a fresh headless display,
// the forms engine started, and an event log fed by sinks advised to the
// controls' event interfaces.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "runtime/com/EventSink.h"
#include "runtime/controls/Form.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"

namespace controls_test {

struct Raised {
  IUnknown* source;
  DISPID event;
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { rt::StartEngine(); }
  void TearDown() override {
    for (auto& sink : sinks_)
      sink->disconnect();
    sinks_.clear();
    rt::ResetEngineContext();
    forms_.clear();
  }

  // A new form with a client area of 400 x 300 pixels.
  ComPtr<rt::Form> makeForm() {
    auto form = rt::MakeComObject<rt::Form>();
    form->settings_.clientWidth = 400;
    form->settings_.clientHeight = 300;
    form->settings_.left = 50;
    form->settings_.top = 50;
    rt::FormStateOf(form.Get());
    forms_.push_back(form);
    return form;
  }

  // Places a control on the form (or in a container of it) at a rectangle
  // in twips.
  template <typename T>
  ComPtr<T> place(rt::Form& form, double left, double top, double width, double height,
                  rt::EngineControl* container = nullptr) {
    auto control = rt::MakeComObject<T>();
    rt::FormState* state = rt::FormStateOf(&form);
    rt::ControlRecord* inside = nullptr;
    if (container) {
      for (const auto& r : state->records()) {
        if (r->object.Get() == container) inside = r.get();
      }
    }
    rt::ControlRecord& record = rt::BuildControlRecord(*state, inside, control.Get());
    record.placement = {96, left, top, width, height};
    return control;
  }

  // Records every event the object raises through its event interface.
  void listen(IUnknown* object, const IID& events) {
    auto sink =
        rt::MakeComObject<rt::EventSink>(events, [this, object](DISPID id, const DISPPARAMS&) {
          raised_.push_back({object, id});
          if (onEvent_) onEvent_(object, id);
          return S_OK;
        });
    ASSERT_EQ(sink->connect(object), S_OK);
    sinks_.push_back(sink);
  }

  std::vector<DISPID> eventsOf(IUnknown* object) const {
    std::vector<DISPID> out;
    for (const Raised& r : raised_) {
      if (r.source == object) out.push_back(r.event);
    }
    return out;
  }

  // Only the events of that number.
  std::vector<DISPID> eventsOf(IUnknown* object, DISPID only) const {
    std::vector<DISPID> out;
    for (const Raised& r : raised_) {
      if (r.source == object && r.event == only) out.push_back(r.event);
    }
    return out;
  }

  void settle() {
    for (int i = 0; i < 8; ++i)
      rt::Yield();
  }
  void advance(uint64_t ms) {
    clock_.advance(ms);
    settle();
  }

  platform::ScopedVirtualClock clock_{1000};
  platform::ScopedHeadlessDisplay display_{{1024, 768}, 96};
  std::vector<Raised> raised_;
  std::function<void(IUnknown*, DISPID)> onEvent_;
  std::vector<ComPtr<rt::EventSink>> sinks_;
  std::vector<ComPtr<rt::Form>> forms_;
};

// Late-bound helpers.
inline DISPID IdOf(IDispatch* object, std::u16string name) {
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  return id;
}

inline HRESULT GetByName(IDispatch* object, std::u16string name, Variant& out) {
  DISPPARAMS none{};
  return object->Invoke(IdOf(object, name), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, out.out(),
                        nullptr, nullptr);
}

inline HRESULT PutByName(IDispatch* object, std::u16string name, Variant value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return object->Invoke(IdOf(object, name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr,
                        nullptr, nullptr);
}

inline HRESULT CallByName(IDispatch* object, std::u16string name) {
  DISPPARAMS none{};
  return object->Invoke(IdOf(object, name), IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                        nullptr);
}

}  // namespace controls_test

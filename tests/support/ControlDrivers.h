// Drivers of Form1's real controls for the application's tests: each reads
// its control's properties by name (through the control's own dispatch
// interface) and acts on it the way a person does: a click is a mouse
// press and release at the middle of the button, sent through the display;
// typing replaces the box's text like a paste (one change of the text).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/com.h"
#include "platform/display.h"
#include "platform/oleauto.h"
#include "platform/user.h"
#include "runtime/com/EventSink.h"

namespace skiffwire::testing {

// What a driver needs from its form: the display that takes the input, and
// the form loaded before its controls are used (touching a control of an
// unloaded form loads the form, as the language does).
struct DriverContext {
  platform::HeadlessDisplay& display;
  std::function<void()> ensureFormLoaded;
  std::function<void()> ensureFormShown;  // clicks need the window on the screen
};

class ControlDriver {
 public:
  ControlDriver(IUnknown* control, const DriverContext& context);

  IDispatch* object() const { return object_.Get(); }
  HWND hwnd() const;
  // A property by name; an empty variant when it cannot be read.
  Variant get(std::u16string_view name) const;
  HRESULT put(std::u16string_view name, Variant value) const;
  bool enabled() const;

 protected:
  const DriverContext& context_;

 private:
  ComPtr<IDispatch> object_;
};

class TextBoxDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  std::u16string text() const;
  // Replaces the whole text as a paste over everything does (nothing
  // happens when it is the same text).
  void type(std::u16string_view text) const;
  // Text let, as the program's code sets it (any characters, NUL too).
  HRESULT setText(std::u16string_view text) const { return put(u"Text", Variant::Str(text)); }
  LONG selStart() const;
  LONG selLength() const;
  HRESULT put_SelStart(LONG start) const { return put(u"SelStart", Variant::I4(start)); }
  HRESULT put_SelLength(LONG length) const { return put(u"SelLength", Variant::I4(length)); }
};

class ButtonDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  std::u16string caption() const;
  HRESULT put_Caption(std::u16string_view caption) const;
  // Presses and releases the left button over it and dispatches what that
  // queued; false when the button was disabled (the click does nothing).
  bool click() const;
};

class LabelDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  std::u16string caption() const;
  HRESULT put_Caption(std::u16string_view caption) const;
};

class CheckBoxDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  SHORT value() const;
  HRESULT put_Value(SHORT value) const;
};

class ShapeDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  COLORREF fillColor() const;
};

// The timer, and a count of the Timer events it raised.
class TimerDriver : public ControlDriver {
 public:
  TimerDriver(IUnknown* control, const DriverContext& context);
  ~TimerDriver();
  bool running() const;
  int ticks() const { return ticks_; }

 private:
  ComPtr<rt::EventSink> sink_;
  int ticks_ = 0;
};

class FormDriver : public ControlDriver {
 public:
  using ControlDriver::ControlDriver;
  std::u16string caption() const;
};

}  // namespace skiffwire::testing

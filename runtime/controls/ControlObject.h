// The machinery every control class shares: reference counting and
// QueryInterface over its interfaces, the generic IDispatch over the class's
// member table, its event interface (a connection point the form advises
// its sink to) and the engine's view of it (EngineControl, WindowEventSink).
//
//   class TextBox final : public ControlObject<TextBox, ITextBox> { ... };
//
// Derived supplies members() and descriptor() (DispatchObject), rect() (the
// window part of its bases), fillWindowRecord and the rest of its own
// engine hooks. Events are raised with raise(); a control without a
// connected sink raises nothing and succeeds.
//
// Reentrancy: raise() runs the form's handler, which may do anything to the
// control (disable it, change its text, unload the form). The caller holds a
// reference across the call (raise takes one) and re-reads any state it
// needs afterwards.
#pragma once

#include <span>
#include <vector>

#include "runtime/com/ComObject.h"
#include "runtime/com/ConnectionPoint.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/BaseControlRect.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineControl.h"

namespace rt {

template <typename Derived, typename Primary, typename... Extra>
class ControlObject : public ComObject<Derived, Primary, EngineControl, WindowEventSink,
                                       IConnectionPointContainer, Extra...>,
                      public DispatchObject {
 public:
  // --- IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return this->members().names().getIDsOfNames(names, count, ids);
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO*, UINT*) override {
    ComPtr<IDispatch> hold(dispatch());
    return this->members().invoke(*this, id, flags, params, result);
  }

  // --- IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (riid != eventInterface_) return CONNECT_E_NOCONNECTION;
    events_.CopyTo(reinterpret_cast<ConnectionPoint**>(point));
    return S_OK;
  }

  // --- EngineControl
  void attachRecord(ControlRecord& record) override {
    record_ = &record;
    if (BaseControlRect* window = static_cast<Derived*>(this)->rect()) {
      if (window->base()) window->base()->attach(&record);
    }
  }
  HRESULT raiseEvent(DISPID id, std::span<Variant> args) override {
    // Borrowed copies: the caller keeps owning the values.
    const std::vector<VARIANT> plain(args.begin(), args.end());
    return raise(id, plain);
  }
  void windowGone() override {}
  void terminate() override { events_->detach(); }
  std::u16string toolTipText() override {
    BaseControlRect* window = static_cast<Derived*>(this)->rect();
    return window ? window->toolTipText() : std::u16string();
  }
  int mousePointer() override {
    BaseControlRect* window = static_cast<Derived*>(this)->rect();
    return window ? window->mousePointer() : 0;
  }

  // --- WindowEventSink
  void colour(HDC dc, int, LRESULT* brush) override {
    if (BaseControlRect* window = static_cast<Derived*>(this)->rect()) {
      window->answerColour(dc, brush);
    }
  }

  IDispatch* dispatch() { return static_cast<Primary*>(static_cast<Derived*>(this)); }
  ControlRecord* record() const { return record_; }
  HWND hwnd() const { return record_ ? record_->window.hwnd : nullptr; }
  bool hasEventSink() const { return events_->hasSinks(); }

  // Raises an event on the connected sink (arguments first to last).
  HRESULT raise(DISPID event, std::span<const VARIANT> arguments = {}) {
    ComPtr<IDispatch> hold(dispatch());
    return events_->fire(event, arguments);
  }

 protected:
  explicit ControlObject(const IID& eventInterface)
      : eventInterface_(eventInterface),
        events_(MakeComObject<ConnectionPoint>(eventInterface,
                                               static_cast<IConnectionPointContainer*>(this))) {}
  ~ControlObject() override { events_->detach(); }

  // Every member of the primary interface starts here (class initialisation
  // on first use).
  HRESULT enter() { return ensureClassInitialised(); }

 private:
  IID eventInterface_;
  ComPtr<ConnectionPoint> events_;
  ControlRecord* record_ = nullptr;
};

}  // namespace rt

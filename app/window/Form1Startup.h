// The start-up object of the program: what the process entry creates and
// shows by calling its "Show" method by name. It answers "Show" only; the
// form it shows is owned by the caller and outlives it or is gone (then
// "Show" does nothing).
#pragma once

#include "app/window/Form1Window.h"
#include "runtime/com/ComObject.h"

namespace skiffwire {

class Form1Startup final : public rt::ComObject<Form1Startup, IDispatch> {
 public:
  static constexpr DISPID kShow = 1;

  explicit Form1Startup(Form1Window* form) : form_(form) {}

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // The form is going away: "Show" no longer reaches it.
  void forget() { form_ = nullptr; }

 private:
  Form1Window* form_;  // not owned
};

}  // namespace skiffwire

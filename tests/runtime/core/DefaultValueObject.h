// An automation object with a default value, as the library routines see
// objects passed for their arguments.
#pragma once

#include "platform/oleauto.h"

namespace rt::testing {

class DefaultValueObject final : public IDispatch {
 public:
  explicit DefaultValueObject(Variant value) : value_(std::move(value)) {}

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the test's stack.
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                 UINT*) override {
    lastFlags = flags;
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    return VariantCopy(result, &value_);
  }

  // An argument that holds this object.
  Variant asArgument() {
    Variant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = this;
    return v;
  }

  WORD lastFlags = 0;

 private:
  Variant value_;
};

// An object argument whose reference is null.
inline Variant NullObjectArgument() {
  Variant v;
  v.vt = VT_DISPATCH;
  v.pdispVal = nullptr;
  return v;
}

}  // namespace rt::testing

// A counted automation object whose default property returns a fixed value;
// counts its references so tests can see every AddRef and Release.
#pragma once

#include "platform/oleauto.h"

namespace testing_support {

class ValueObject final : public IDispatch {
 public:
  // Starts with one reference, owned by the creator.
  explicit ValueObject(const VARIANT& value) { VariantCopy(&value_, &value); }

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return --refs_; }  // the test owns the storage

  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO*, UINT*) override {
    ++invokes_;
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (failWith_ != S_OK) return failWith_;
    return VariantCopy(result, &value_);
  }

  ULONG refs() const { return refs_; }
  int invokes() const { return invokes_; }
  void FailWith(HRESULT hr) { failWith_ = hr; }

 private:
  Variant value_;
  ULONG refs_ = 1;
  int invokes_ = 0;
  HRESULT failWith_ = S_OK;
};

}  // namespace testing_support

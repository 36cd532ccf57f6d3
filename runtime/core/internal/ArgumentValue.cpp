#include "runtime/core/internal/ArgumentValue.h"

namespace rt::internal {
namespace {

VARTYPE baseType(const VARIANT& v) {
  return static_cast<VARTYPE>(v.vt & ~VT_BYREF);
}

IUnknown* objectOf(const VARIANT& v) {
  if (!(v.vt & VT_BYREF)) return v.punkVal;
  return v.ppunkVal ? *v.ppunkVal : nullptr;
}

}  // namespace

bool IsMissingArgument(const VARIANT* argument) {
  if (!argument) return true;
  if (baseType(*argument) != VT_ERROR) return false;
  const SCODE code =
      (argument->vt & VT_BYREF) ? (argument->pscode ? *argument->pscode : 0) : argument->scode;
  return code == DISP_E_PARAMNOTFOUND;
}

bool IsObject(const VARIANT& value) {
  const VARTYPE vt = baseType(value);
  return vt == VT_DISPATCH || vt == VT_UNKNOWN;
}

bool IsNullObject(const VARIANT& value) {
  return IsObject(value) && !objectOf(value);
}

HRESULT DirectValue(const VARIANT& argument, Variant* value) {
  return VariantCopyInd(value->out(), &argument);
}

HRESULT DefaultValueOf(const VARIANT& object, WORD invokeFlags, Variant* value) {
  IUnknown* unknown = objectOf(object);
  if (!unknown) return E_POINTER;
  ComPtr<IDispatch> dispatch = baseType(object) == VT_DISPATCH
                                   ? ComPtr<IDispatch>(static_cast<IDispatch*>(unknown))
                                   : QueryInterfaceOf<IDispatch>(unknown);
  if (!dispatch) return DISP_E_TYPEMISMATCH;
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  Variant result;
  HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, invokeFlags, &noArguments, &result,
                                nullptr, nullptr);
  if (FAILED(hr)) return hr;
  return DirectValue(result, value);
}

}  // namespace rt::internal

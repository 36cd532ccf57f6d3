#include "runtime/library/internal/NormalizedArgument.h"

#include "runtime/core/Status.h"
#include "runtime/library/internal/LibrarySupport.h"

namespace rt::internal {
namespace {

// An object whose default value is an object again is followed this many
// times at most before the comparison gives up with a type mismatch.
constexpr int kMaxDefaultValueSteps = 64;

// The status an object reported through its exception information.
HRESULT ExceptionStatus(EXCEPINFO& excep) {
  if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  if (FAILED(excep.scode)) return excep.scode;
  return excep.wCode ? ErrorStatus(excep.wCode) : DISP_E_EXCEPTION;
}

// The object's default value: a property get of DISPID 0 with no arguments.
HRESULT DefaultValueOf(IDispatch* object, Variant* value) {
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  EXCEPINFO excep{};
  UINT argumentError = 0;
  const HRESULT status =
      object->Invoke(DISPID_VALUE, IID_NULL, kConversionLocale, DISPATCH_PROPERTYGET, &noArguments,
                     value->out(), &excep, &argumentError);
  if (status == DISP_E_EXCEPTION) return ExceptionStatus(excep);
  return status;
}

// The variant a chain of variant references ends at.
const VARIANT* FollowVariantReferences(const VARIANT& argument) {
  const VARIANT* v = &argument;
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
    v = v->pvarVal;
  return v;
}

bool IsObject(const VARIANT& v) {
  return (v.vt & ~VT_BYREF) == VT_DISPATCH;
}

IDispatch* ObjectOf(const VARIANT& v) {
  if (v.vt & VT_BYREF) return v.ppdispVal ? *v.ppdispVal : nullptr;
  return v.pdispVal;
}

}  // namespace

HRESULT NormalizedArgument::normalizeForComparison(const VARIANT& argument) {
  return resolve(argument, kMaxDefaultValueSteps, E_FAIL);
}

HRESULT NormalizedArgument::resolve(const VARIANT& argument, int objectSteps,
                                    HRESULT nullObjectStatus) {
  const VARIANT* v = FollowVariantReferences(argument);
  for (int step = 0; step < objectSteps && IsObject(*v); ++step) {
    IDispatch* object = ObjectOf(*v);
    if (!object) return nullObjectStatus;
    if (HRESULT hr = replaceObject(object); FAILED(hr)) return hr;
    v = FollowVariantReferences(owned_);
  }
  // Only an object that keeps answering with objects gets here still one.
  if (objectSteps > 1 && IsObject(*v)) return DISP_E_TYPEMISMATCH;
  if (!(v->vt & VT_BYREF)) {
    value_ = v;
    return S_OK;
  }
  // A scalar or text by reference: keep a copy by value, so that every
  // later step sees the value's own type.
  Variant copy;
  if (HRESULT hr = VariantCopyInd(&copy, v); FAILED(hr)) return hr;
  owned_ = std::move(copy);
  value_ = &owned_;
  return S_OK;
}

HRESULT NormalizedArgument::replaceObject(IDispatch* object) {
  // Keeps the object alive while its default value replaces the variant
  // that may hold the only reference to it.
  ComPtr<IDispatch> keep(object);
  Variant defaultValue;
  if (HRESULT hr = DefaultValueOf(object, &defaultValue); FAILED(hr)) return hr;
  owned_ = std::move(defaultValue);
  value_ = &owned_;
  return S_OK;
}

HRESULT NormalizedArgument::text(std::u16string_view* out) {
  if (type() == VT_BSTR) {
    *out = ViewOf(value_->bstrVal);
    return S_OK;
  }
  Variant converted;
  if (HRESULT hr = changeType(VT_BSTR, kToTextFlags, &converted); FAILED(hr)) return hr;
  converted_ = Bstr::Adopt(converted.bstrVal);
  converted.vt = VT_EMPTY;  // the text now belongs to converted_
  *out = converted_.view();
  return S_OK;
}

HRESULT NormalizedArgument::changeType(VARTYPE vt, USHORT flags, Variant* out) const {
  return VariantChangeTypeEx(out->out(), value_, kConversionLocale, flags, vt);
}

}  // namespace rt::internal

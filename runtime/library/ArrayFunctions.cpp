#include "runtime/library/ArrayFunctions.h"

#include "runtime/core/Status.h"

namespace rt {
namespace {

// The array a variant holds, by value or by reference; false for no array.
bool ArrayOf(const VARIANT& value, SAFEARRAY** array) {
  const VARIANT* v = &value;
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
    v = v->pvarVal;
  if (!(v->vt & VT_ARRAY)) return false;
  if (v->vt & VT_BYREF) {
    *array = v->pparray ? *v->pparray : nullptr;
  } else {
    *array = v->parray;
  }
  return true;
}

}  // namespace

HRESULT UBound(const VARIANT& array, LONG dimension, LONG* result) {
  *result = 0;
  SAFEARRAY* data = nullptr;
  if (!ArrayOf(array, &data)) return DISP_E_TYPEMISMATCH;
  if (!data) return ErrorStatus(err::SubscriptOutOfRange);
  const auto dimensions = static_cast<LONG>(SafeArrayGetDim(data));
  if (dimension < 1 || dimension > dimensions) return E_FAIL;
  if (FAILED(SafeArrayGetUBound(data, static_cast<UINT>(dimension), result))) return E_FAIL;
  return S_OK;
}

}  // namespace rt

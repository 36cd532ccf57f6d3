#include "runtime/library/Conversions.h"

#include <cmath>
#include <cstdint>

#include "runtime/core/Status.h"
#include "runtime/library/internal/NormalizedArgument.h"

namespace rt {
namespace {

// The normalised value converted to vt; Null has no number.
HRESULT Converted(const VARIANT& value, USHORT flags, VARTYPE vt, Variant* out) {
  internal::NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(value); FAILED(hr)) return hr;
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  return argument.changeType(vt, flags, out);
}

}  // namespace

HRESULT ToLong(const VARIANT& value, USHORT flags, LONG* result) {
  *result = 0;
  // A whole Double in range is its own Long: no rounding, no overflow.
  if (value.vt == VT_R8 && std::trunc(value.dblVal) == value.dblVal && value.dblVal >= INT32_MIN &&
      value.dblVal <= INT32_MAX) {
    *result = static_cast<LONG>(value.dblVal);
    return S_OK;
  }
  Variant converted;
  if (HRESULT hr = Converted(value, flags, VT_I4, &converted); FAILED(hr)) return hr;
  *result = converted.lVal;
  return S_OK;
}

HRESULT ToDouble(const VARIANT& value, USHORT flags, DOUBLE* result) {
  *result = 0;
  Variant converted;
  if (HRESULT hr = Converted(value, flags, VT_R8, &converted); FAILED(hr)) return hr;
  *result = converted.dblVal;
  return S_OK;
}

}  // namespace rt

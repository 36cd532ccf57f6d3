// VariantChangeType(Ex): coercion of a variant to another type.
//
// The source is first read through any reference. Objects give their default
// value (DISPID_VALUE property get). Numbers pass through one of four exact
// representations (signed, unsigned, real, currency) so that every pair of
// types shares the same range checks and the same half-to-even rounding.
#include <cfloat>
#include <cmath>
#include <string>

#include "internal/LocaleData.h"
#include "internal/NumberParsing.h"
#include "internal/NumberText.h"
#include "internal/NumericValue.h"
#include "internal/Rounding.h"
#include "internal/VariantType.h"
#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::IsArray;
using platform::internal::IsByRef;
using platform::internal::IsValidVariantType;

// An object whose default value is again an object is followed this deep.
constexpr int kMaxValueDepth = 8;

// 1 January 100 and 31 December 9999 bound the days of a DATE.
constexpr double kDateLow = -657434.0 - 1.0;
constexpr double kDateHigh = 2958465.0 + 1.0;

using Number = platform::internal::NumericValue;

struct IntegerRange {
  VARTYPE vt;
  __int128 low;
  __int128 high;
  int bytes;
};

constexpr IntegerRange kIntegerRanges[] = {
    {VT_I1, INT8_MIN, INT8_MAX, 1},    {VT_UI1, 0, UINT8_MAX, 1},
    {VT_I2, INT16_MIN, INT16_MAX, 2},  {VT_UI2, 0, UINT16_MAX, 2},
    {VT_I4, INT32_MIN, INT32_MAX, 4},  {VT_UI4, 0, UINT32_MAX, 4},
    {VT_INT, INT32_MIN, INT32_MAX, 4}, {VT_UINT, 0, UINT32_MAX, 4},
    {VT_I8, INT64_MIN, INT64_MAX, 8},  {VT_UI8, 0, UINT64_MAX, 8},
};

const IntegerRange* FindIntegerRange(VARTYPE vt) {
  for (const IntegerRange& range : kIntegerRanges) {
    if (range.vt == vt) return &range;
  }
  return nullptr;
}

// A decimal's magnitude divided by 10^(scale - newScale), rounded half to
// even; newScale <= scale.
unsigned __int128 RescaleDown(unsigned __int128 magnitude, int scale, int newScale) {
  unsigned __int128 divisor = 1;
  for (int k = newScale; k < scale; ++k)
    divisor *= 10;
  const unsigned __int128 quotient = magnitude / divisor;
  const unsigned __int128 twice = (magnitude % divisor) * 2;
  const bool up = twice > divisor || (twice == divisor && (quotient & 1) != 0);
  return quotient + (up ? 1 : 0);
}

// The number as an exact integer, rounded half to even; false on overflow.
bool IntegerValue(const Number& n, __int128* value) {
  using Kind = Number::Kind;
  switch (n.kind) {
    case Kind::Decimal: {
      const unsigned __int128 magnitude = RescaleDown(n.mantissa, n.scale, 0);
      *value = n.negative ? -static_cast<__int128>(magnitude) : static_cast<__int128>(magnitude);
      return true;
    }
    case Kind::Signed:
      *value = n.i;
      return true;
    case Kind::Unsigned:
      *value = n.u;
      return true;
    case Kind::Currency:
      *value = platform::internal::DivideRoundHalfEven(n.i, 10000);
      return true;
    case Kind::Real: {
      const double rounded = platform::internal::RoundHalfEven(n.d);
      // Beyond +-2^64 no integer type holds the value anyway.
      if (!(rounded > -18446744073709551616.0 && rounded < 18446744073709551616.0)) return false;
      *value = static_cast<__int128>(rounded);
      return true;
    }
  }
  return false;
}

HRESULT WriteInteger(const Number& n, const IntegerRange& range, VARIANT* out) {
  __int128 value = 0;
  if (!IntegerValue(n, &value)) return DISP_E_OVERFLOW;
  const bool unsignedTarget = range.low == 0;
  if (n.fromBool && unsignedTarget) {
    value &= range.high;  // True is all bits set
  }
  if (value < range.low || value > range.high) return DISP_E_OVERFLOW;
  out->vt = range.vt;
  out->llVal = 0;
  const uint64_t bits = static_cast<uint64_t>(value);
  switch (range.bytes) {
    case 1:
      out->bVal = static_cast<BYTE>(bits);
      break;
    case 2:
      out->uiVal = static_cast<USHORT>(bits);
      break;
    case 4:
      out->ulVal = static_cast<ULONG>(bits);
      break;
    case 8:
      out->ullVal = bits;
      break;
  }
  return S_OK;
}

double RealValue(const Number& n) {
  return n.AsDouble();
}

HRESULT WriteCurrency(const Number& n, VARIANT* out) {
  out->vt = VT_CY;
  if (n.kind == Number::Kind::Currency) {
    out->cyVal.int64 = n.i;
    return S_OK;
  }
  if (n.kind == Number::Kind::Real) return VarCyFromR8(n.d, &out->cyVal);
  if (n.kind == Number::Kind::Decimal) {
    unsigned __int128 scaled = n.mantissa;
    if (n.scale > 4) {
      scaled = RescaleDown(n.mantissa, n.scale, 4);
    } else {
      for (int k = n.scale; k < 4; ++k)
        scaled *= 10;
    }
    const unsigned __int128 limit = n.negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    if (scaled > limit) return DISP_E_OVERFLOW;
    out->cyVal.int64 = n.negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(scaled))
                                  : static_cast<int64_t>(scaled);
    return S_OK;
  }
  const __int128 scaled = (n.kind == Number::Kind::Signed ? __int128{n.i} : __int128{n.u}) * 10000;
  if (scaled < INT64_MIN || scaled > INT64_MAX) return DISP_E_OVERFLOW;
  out->cyVal.int64 = static_cast<int64_t>(scaled);
  return S_OK;
}

HRESULT WriteNumber(const Number& n, VARTYPE vt, VARIANT* out) {
  if (const IntegerRange* range = FindIntegerRange(vt)) return WriteInteger(n, *range, out);
  switch (vt) {
    case VT_R4: {
      const double value = RealValue(n);
      if (std::isinf(value) || std::fabs(value) > FLT_MAX) return DISP_E_OVERFLOW;
      out->vt = VT_R4;
      out->llVal = 0;
      out->fltVal = static_cast<float>(value);
      return S_OK;
    }
    case VT_R8:
      out->vt = VT_R8;
      out->dblVal = RealValue(n);
      return S_OK;
    case VT_DATE: {
      const double value = RealValue(n);
      if (!(value > kDateLow && value < kDateHigh)) return DISP_E_OVERFLOW;
      out->vt = VT_DATE;
      out->date = value;
      return S_OK;
    }
    case VT_CY:
      return WriteCurrency(n, out);
    case VT_DECIMAL:
      if (!n.ToDecimal(&out->decVal)) return DISP_E_OVERFLOW;
      out->vt = VT_DECIMAL;
      return S_OK;
    case VT_BOOL:
      out->vt = VT_BOOL;
      out->llVal = 0;
      // Any value but zero is true, NaN included.
      out->boolVal = !(RealValue(n) == 0.0) ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
  }
  return DISP_E_TYPEMISMATCH;
}

// All the digits of a number, never in exponent form.
std::u16string PlainText(const platform::internal::DecimalNumber& number, char16_t decimal) {
  if (number.isZero()) return u"0";
  const std::string integer = number.IntegerDigits();
  std::u16string text = number.negative() ? u"-" : u"";
  text += integer.empty() ? u"0" : std::u16string(integer.begin(), integer.end());
  const int places = static_cast<int>(number.significantDigits().size()) - number.pointPosition();
  if (places <= 0) return text;
  const std::string fraction = number.FractionDigits(places);
  text += decimal;
  text.append(fraction.begin(), fraction.end());
  return text;
}

HRESULT TextOf(const VARIANT& v, LCID lcid, USHORT flags, BSTR* out) {
  using namespace platform::internal;
  const char16_t decimal = LocaleDataFor(lcid).decimal;
  switch (v.vt) {
    case VT_EMPTY:
      return ReturnBstr(u"", out);
    case VT_R4:
      return ReturnBstr(FormatReal(v.fltVal, 7, decimal), out);
    case VT_R8:
      return ReturnBstr(FormatReal(v.dblVal, 15, decimal), out);
    case VT_CY:
      return ReturnBstr(FormatCurrency(v.cyVal.int64, decimal), out);
    case VT_DATE:
      // With VARIANT_USE_NLS the time of day is written even at midnight.
      return VarBstrFromDate(v.date, lcid, (flags & VARIANT_USE_NLS) ? LOCALE_USE_NLS : 0, out);
    case VT_BOOL:
      if (flags & VARIANT_LOCALBOOL) return VarBstrFromBool(v.boolVal, lcid, VAR_LOCALBOOL, out);
      if (flags & VARIANT_ALPHABOOL) return VarBstrFromBool(v.boolVal, lcid, 0, out);
      return ReturnBstr(v.boolVal ? u"-1" : u"0", out);
    case VT_DECIMAL: {
      Number n;
      if (!platform::internal::ReadDecimal(v.decVal, &n)) return DISP_E_BADVARTYPE;
      return ReturnBstr(PlainText(n.Digits(), decimal), out);
    }
  }
  Number n;
  if (!Number::Read(v, &n)) return DISP_E_TYPEMISMATCH;
  IntegerTextBuffer buffer;
  return ReturnBstr(
      n.kind == Number::Kind::Unsigned ? WriteUnsigned(n.u, buffer) : WriteSigned(n.i, buffer),
      out);
}

// The integer types, whose text is their digits under every locale and flag.
bool IsInteger(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
      return true;
  }
  return false;
}

// An integer variant (IsInteger) as text into dest, written straight from
// its value: what Coerce would write, for less.
HRESULT IntegerToText(VARIANTARG* dest, const VARIANT& integer) {
  using namespace platform::internal;
  IntegerTextBuffer buffer;
  Number n;
  Number::Read(integer, &n);
  const std::u16string_view text =
      n.kind == Number::Kind::Unsigned ? WriteUnsigned(n.u, buffer) : WriteSigned(n.i, buffer);
  VARIANT result;
  VariantInit(&result);
  result.vt = VT_BSTR;
  if (HRESULT hr = ReturnBstr(text, &result.bstrVal); FAILED(hr)) return hr;
  // The value is read before dest is cleared: dest may be the source.
  if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
    SysFreeString(result.bstrVal);
    return hr;
  }
  *static_cast<VARIANT*>(dest) = result;
  return S_OK;
}

HRESULT NumberFromBstr(BSTR text, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out) {
  // A null BSTR is the empty text.
  const OLECHAR* chars = text ? text : u"";
  const ULONG localeFlags = (flags & VARIANT_NOUSEROVERRIDE) ? LOCALE_NOUSEROVERRIDE : 0;
  switch (vt) {
    case VT_BOOL:
      out->llVal = 0;
      out->vt = VT_BOOL;
      return VarBoolFromStr(chars, lcid,
                            localeFlags | (flags & VARIANT_LOCALBOOL ? VAR_LOCALBOOL : 0),
                            &out->boolVal);
    case VT_DATE:
      out->vt = VT_DATE;
      return VarDateFromStr(chars, lcid, localeFlags, &out->date);
    case VT_INT:
    case VT_UINT: {
      const VARTYPE sized = vt == VT_INT ? VT_I4 : VT_UI4;
      HRESULT hr = platform::internal::NumberFromText(chars, lcid, localeFlags, 1u << sized, out);
      if (SUCCEEDED(hr)) out->vt = vt;
      return hr;
    }
  }
  if (!FindIntegerRange(vt) && vt != VT_R4 && vt != VT_R8 && vt != VT_CY && vt != VT_DECIMAL) {
    return DISP_E_TYPEMISMATCH;
  }
  return platform::internal::NumberFromText(chars, lcid, localeFlags, 1u << vt, out);
}

HRESULT Coerce(const VARIANT& v, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out, int depth);

// The default value of an object, converted in turn.
HRESULT CoerceObject(const VARIANT& v, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out,
                     int depth) {
  if ((flags & VARIANT_NOVALUEPROP) || depth >= kMaxValueDepth || !v.punkVal) {
    return DISP_E_TYPEMISMATCH;
  }
  ComPtr<IDispatch> dispatch =
      v.vt == VT_DISPATCH ? ComPtr<IDispatch>(v.pdispVal) : QueryInterfaceOf<IDispatch>(v.punkVal);
  if (!dispatch) return DISP_E_TYPEMISMATCH;
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  Variant value;
  HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &noArguments,
                                &value, nullptr, nullptr);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  Variant direct;
  hr = VariantCopyInd(&direct, &value);
  if (FAILED(hr)) return hr;
  return Coerce(direct, lcid, flags, vt, out, depth + 1);
}

HRESULT CoerceToObject(const VARIANT& v, VARTYPE vt, VARIANT* out) {
  if (v.vt == VT_EMPTY) {
    out->vt = vt;
    out->punkVal = nullptr;
    return S_OK;
  }
  if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
  if (!v.punkVal) {
    out->vt = vt;
    out->punkVal = nullptr;
    return S_OK;
  }
  const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
  void* object = nullptr;
  if (FAILED(v.punkVal->QueryInterface(iid, &object)) || !object) return DISP_E_TYPEMISMATCH;
  out->vt = vt;
  out->byref = object;
  return S_OK;
}

HRESULT Coerce(const VARIANT& v, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out, int depth) {
  if (IsByRef(vt)) return DISP_E_TYPEMISMATCH;
  if (vt == v.vt) return VariantCopy(out, &v);
  // Arrays only copy to arrays of the same type.
  if (IsArray(vt) || IsArray(v.vt)) return DISP_E_TYPEMISMATCH;

  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
      if (v.vt == VT_ERROR || (vt == VT_EMPTY && v.vt == VT_NULL)) return DISP_E_TYPEMISMATCH;
      out->vt = vt;
      return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return CoerceToObject(v, vt, out);
    case VT_ERROR:
      if (v.vt != VT_I4 && v.vt != VT_UI4 && v.vt != VT_INT && v.vt != VT_UINT) {
        return DISP_E_TYPEMISMATCH;
      }
      out->vt = VT_ERROR;
      out->scode = v.lVal;
      return S_OK;
  }
  if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
    return CoerceObject(v, lcid, flags, vt, out, depth);
  }
  if (v.vt == VT_ERROR) {
    if (vt != VT_I4 && vt != VT_UI4 && vt != VT_INT && vt != VT_UINT) return DISP_E_TYPEMISMATCH;
    out->vt = vt;
    out->lVal = v.scode;
    return S_OK;
  }
  if (vt == VT_BSTR) {
    out->vt = VT_BSTR;
    return TextOf(v, lcid, flags, &out->bstrVal);
  }
  if (v.vt == VT_BSTR) return NumberFromBstr(v.bstrVal, lcid, flags, vt, out);
  Number n;
  if (!Number::Read(v, &n)) return DISP_E_TYPEMISMATCH;
  return WriteNumber(n, vt, out);
}

}  // namespace

HRESULT VariantChangeTypeEx(VARIANTARG* dest, const VARIANTARG* src, LCID lcid, USHORT flags,
                            VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (vt == VT_BSTR && IsInteger(src->vt)) return IntegerToText(dest, *src);
  if (!IsValidVariantType(src->vt) || !IsValidVariantType(vt)) return DISP_E_BADVARTYPE;
  Variant value;
  HRESULT hr = VariantCopyInd(&value, src);
  if (FAILED(hr)) return hr == E_INVALIDARG ? DISP_E_TYPEMISMATCH : hr;

  Variant result;
  hr = Coerce(value, lcid, flags, vt, &result, 0);
  if (FAILED(hr)) {
    // A failed conversion may have left a half-built payload behind.
    result.vt = VT_EMPTY;
    return hr;
  }
  hr = VariantClear(dest);
  if (FAILED(hr)) return hr;
  *static_cast<VARIANT*>(dest) = result;
  VariantInit(&result);
  return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* src, USHORT flags, VARTYPE vt) {
  return VariantChangeTypeEx(dest, src, LOCALE_USER_DEFAULT, flags, vt);
}

#include "internal/NumericValue.h"

#include <cmath>
#include <cstring>

namespace platform::internal {
namespace {

using Kind = NumericValue::Kind;
using Wide = unsigned __int128;

constexpr int kMaxDecimalScale = 28;
constexpr Wide kDecimalLimit = Wide{1} << 96;  // first magnitude a DECIMAL cannot hold

// Integers and currency as one exact scale: the value times 10,000.
__int128 Scaled(const NumericValue& n) {
  switch (n.kind) {
    case Kind::Signed:
      return static_cast<__int128>(n.i) * 10000;
    case Kind::Unsigned:
      return static_cast<__int128>(n.u) * 10000;
    case Kind::Currency:
      return n.i;
    case Kind::Real:
    case Kind::Decimal:
      break;
  }
  return 0;
}

int Sign(__int128 difference) {
  return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

// A double against an exact scaled integer (|scaled| < 2^78).
int CompareRealWithScaled(double real, __int128 scaled) {
  if (std::isnan(real)) return 1;
  constexpr double kBeyond = 1.5e24;  // above every scaled 64-bit value
  if (real >= kBeyond) return 1;
  if (real <= -kBeyond) return -1;
  // real * 10000 may round; compare the integral part exactly, then the rest.
  const double whole = std::trunc(real);
  const __int128 wholeScaled = static_cast<__int128>(whole) * 10000;
  const double fraction = real - whole;  // exact
  const __int128 fractionScaled = static_cast<__int128>(std::trunc(fraction * 10000.0));
  const __int128 integral = wholeScaled + fractionScaled;
  if (integral != scaled) return Sign(integral - scaled);
  const double rest = fraction * 10000.0 - std::trunc(fraction * 10000.0);
  return rest > 0 ? 1 : (rest < 0 ? -1 : 0);
}

int CompareReals(const NumericValue& a, const NumericValue& b) {
  if (std::isnan(a.d) || std::isnan(b.d)) {
    if (std::isnan(a.d) && std::isnan(b.d)) return 0;
    return std::isnan(a.d) ? 1 : -1;
  }
  if (a.single || b.single) {
    // A single meets a double or a date as two singles.
    const float x = static_cast<float>(a.d);
    const float y = static_cast<float>(b.d);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return a.d < b.d ? -1 : (a.d > b.d ? 1 : 0);
}

// A decimal against any other kind, through exact decimal digits. Values a
// DECIMAL cannot hold still order correctly, since no rounding to 96 bits
// takes place here.
int CompareWithDecimal(const NumericValue& a, const NumericValue& b) {
  const bool aNaN = a.kind == Kind::Real && std::isnan(a.d);
  const bool bNaN = b.kind == Kind::Real && std::isnan(b.d);
  if (aNaN || bNaN) return aNaN ? 1 : -1;
  const bool aInfinite = a.kind == Kind::Real && std::isinf(a.d);
  const bool bInfinite = b.kind == Kind::Real && std::isinf(b.d);
  if (aInfinite) return a.d > 0 ? 1 : -1;
  if (bInfinite) return b.d > 0 ? -1 : 1;
  return a.Digits().Compare(b.Digits());
}

}  // namespace

bool ReadDecimal(const DECIMAL& in, NumericValue* out) {
  if (in.scale > kMaxDecimalScale || (in.sign & ~DECIMAL_NEG) != 0) return false;
  *out = {};
  out->kind = Kind::Decimal;
  out->mantissa = (Wide{in.Hi32} << 64) | in.Lo64;
  out->scale = in.scale;
  out->negative = (in.sign & DECIMAL_NEG) != 0 && out->mantissa != 0;
  return true;
}

bool NumericValue::Read(const VARIANT& v, NumericValue* n) {
  switch (v.vt) {
    case VT_EMPTY:
      *n = {Kind::Signed, 0};
      return true;
    case VT_I1:
      *n = {Kind::Signed, v.cVal};
      return true;
    case VT_I2:
      *n = {Kind::Signed, v.iVal};
      return true;
    case VT_I4:
    case VT_INT:
      *n = {Kind::Signed, v.lVal};
      return true;
    case VT_I8:
      *n = {Kind::Signed, v.llVal};
      return true;
    case VT_BOOL:
      *n = {Kind::Signed, v.boolVal ? -1 : 0, 0, 0, true};
      return true;
    case VT_UI1:
      *n = {Kind::Unsigned, 0, v.bVal};
      return true;
    case VT_UI2:
      *n = {Kind::Unsigned, 0, v.uiVal};
      return true;
    case VT_UI4:
    case VT_UINT:
      *n = {Kind::Unsigned, 0, v.ulVal};
      return true;
    case VT_UI8:
      *n = {Kind::Unsigned, 0, v.ullVal};
      return true;
    case VT_R4:
      *n = {Kind::Real, 0, 0, v.fltVal};
      n->single = true;
      return true;
    case VT_R8:
    case VT_DATE:
      *n = {Kind::Real, 0, 0, v.dblVal};
      return true;
    case VT_CY:
      *n = {Kind::Currency, v.cyVal.int64};
      return true;
    case VT_DECIMAL:
      return ReadDecimal(v.decVal, n);
  }
  return false;
}

int NumericValue::Compare(const NumericValue& other) const {
  if (kind == Kind::Decimal || other.kind == Kind::Decimal) {
    return CompareWithDecimal(*this, other);
  }
  if (kind == Kind::Real && other.kind == Kind::Real) return CompareReals(*this, other);
  if (kind == Kind::Real) return CompareRealWithScaled(d, Scaled(other));
  if (other.kind == Kind::Real) return -CompareRealWithScaled(other.d, Scaled(*this));
  return Sign(Scaled(*this) - Scaled(other));
}

DecimalNumber NumericValue::Digits() const {
  switch (kind) {
    case Kind::Signed:
      return DecimalNumber::FromInteger(i);
    case Kind::Unsigned:
      return DecimalNumber::FromUnsigned(u);
    case Kind::Currency:
      return DecimalNumber::FromScaled(i, 4);
    case Kind::Real:
      return DecimalNumber::FromDouble(d, single ? 7 : 15);
    case Kind::Decimal:
      return DecimalNumber::FromWide(mantissa, scale, negative);
  }
  return {};
}

double NumericValue::AsDouble() const {
  switch (kind) {
    case Kind::Signed:
      return static_cast<double>(i);
    case Kind::Unsigned:
      return static_cast<double>(u);
    case Kind::Currency:
      return static_cast<double>(i) / 10000.0;
    case Kind::Real:
      return d;
    case Kind::Decimal: {
      const double magnitude = static_cast<double>(mantissa) / std::pow(10.0, scale);
      return negative ? -magnitude : magnitude;
    }
  }
  return 0;
}

bool NumericValue::ToDecimal(DECIMAL* out) const {
  if (kind == Kind::Real && !std::isfinite(d)) return false;
  return DecimalFromNumber(Digits(), out);
}

bool DecimalFromNumber(DecimalNumber digits, DECIMAL* out) {
  digits.RoundToFraction(kMaxDecimalScale);
  const std::string& significant = digits.significantDigits();
  // value = 0.significant x 10^point = significant / 10^scale
  int scaleOfValue = static_cast<int>(significant.size()) - digits.pointPosition();
  Wide magnitude = 0;
  for (char c : significant) {
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (magnitude >= kDecimalLimit) return false;
  }
  for (; scaleOfValue < 0; ++scaleOfValue) {
    magnitude *= 10;
    if (magnitude >= kDecimalLimit) return false;
  }
  std::memset(out, 0, sizeof *out);
  out->scale = static_cast<BYTE>(scaleOfValue);
  out->sign = digits.negative() ? DECIMAL_NEG : 0;
  out->Hi32 = static_cast<ULONG>(magnitude >> 64);
  out->Lo64 = static_cast<ULONGLONG>(magnitude);
  return true;
}

}  // namespace platform::internal

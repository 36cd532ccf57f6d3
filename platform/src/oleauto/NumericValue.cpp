#include "internal/NumericValue.h"

#include <cmath>

namespace platform::internal {
namespace {

using Kind = NumericValue::Kind;

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

}  // namespace

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
      return true;
    case VT_R8:
    case VT_DATE:
      *n = {Kind::Real, 0, 0, v.dblVal};
      return true;
    case VT_CY:
      *n = {Kind::Currency, v.cyVal.int64};
      return true;
  }
  return false;
}

int NumericValue::Compare(const NumericValue& other) const {
  if (kind == Kind::Real && other.kind == Kind::Real) {
    if (std::isnan(d) || std::isnan(other.d)) return std::isnan(d) ? 1 : -1;
    return d < other.d ? -1 : (d > other.d ? 1 : 0);
  }
  if (kind == Kind::Real) return CompareRealWithScaled(d, Scaled(other));
  if (other.kind == Kind::Real) return -CompareRealWithScaled(other.d, Scaled(*this));
  return Sign(Scaled(*this) - Scaled(other));
}

}  // namespace platform::internal

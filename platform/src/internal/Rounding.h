// Round half to even, the rule of every automation conversion from a
// fractional number to an integer or to currency.
#pragma once

#include <cmath>
#include <cstdint>

namespace platform::internal {

// 2.5 -> 2, 3.5 -> 4, -2.5 -> -2, 0.5 -> 0. Independent of the floating-point
// rounding mode in force. NaN and infinities come back unchanged.
inline double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff > 0.5) return lower + 1.0;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// The quotient of value / divisor (divisor > 0) rounded half to even.
inline int64_t DivideRoundHalfEven(int64_t value, int64_t divisor) {
  int64_t quotient = value / divisor;
  int64_t remainder = value % divisor;
  if (remainder < 0) {  // floor division
    remainder += divisor;
    --quotient;
  }
  const int64_t twice = remainder * 2;
  if (twice > divisor || (twice == divisor && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

}  // namespace platform::internal

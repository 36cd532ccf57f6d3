// A number read from a variant of any numeric type, kept exactly: as a
// signed or unsigned 64-bit integer, a double, or currency scaled by 10,000.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace platform::internal {

struct NumericValue {
  enum class Kind { Signed, Unsigned, Real, Currency };
  Kind kind = Kind::Signed;
  int64_t i = 0;  // Signed, and Currency scaled by 10,000
  uint64_t u = 0;
  double d = 0;
  bool fromBool = false;  // a Boolean converts to unsigned types bit for bit

  // Empty (0), Booleans (-1 and 0), the integer types, R4, R8, DATE and CY;
  // false for every other type.
  static bool Read(const VARIANT& v, NumericValue* out);

  // -1, 0 or 1 as this value is below, equal to or above the other, compared
  // exactly across kinds. A NaN compares above everything.
  int Compare(const NumericValue& other) const;
};

}  // namespace platform::internal

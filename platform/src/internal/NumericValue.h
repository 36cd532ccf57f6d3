// A number read from a variant of any numeric type, kept exactly: as a
// signed or unsigned 64-bit integer, a double, currency scaled by 10,000, or
// a decimal (a 96-bit magnitude with a power-of-ten scale and a sign).
#pragma once

#include <cstdint>

#include "internal/DecimalNumber.h"
#include "platform/types.h"

namespace platform::internal {

struct NumericValue {
  enum class Kind { Signed, Unsigned, Real, Currency, Decimal };
  Kind kind = Kind::Signed;
  int64_t i = 0;  // Signed, and Currency scaled by 10,000
  uint64_t u = 0;
  double d = 0;
  bool fromBool = false;           // a Boolean converts to unsigned types bit for bit
  bool single = false;             // a Real that was a VT_R4
  unsigned __int128 mantissa = 0;  // Decimal: the magnitude ...
  int scale = 0;                   // ... divided by 10^scale
  bool negative = false;           // ... and its sign

  // Empty (0), Booleans (-1 and 0), the integer types, R4, R8, DATE, CY and
  // DECIMAL; false for every other type.
  static bool Read(const VARIANT& v, NumericValue* out);

  // -1, 0 or 1 as this value is below, equal to or above the other. Integers,
  // currency and decimals compare exactly; a double meets a decimal with the
  // 15 significant digits it converts with (7 for a single); a single meets
  // a double or a date at single precision. A NaN compares above everything.
  int Compare(const NumericValue& other) const;

  // The value as decimal digits: exact for integers, currency and decimals;
  // 15 significant digits for a double, 7 for a single.
  DecimalNumber Digits() const;

  // The nearest double.
  double AsDouble() const;

  // The value as a DECIMAL (rounded to 28 decimals); false when it does not
  // fit in 96 bits or is not finite.
  bool ToDecimal(DECIMAL* out) const;
};

// A number as a DECIMAL, rounded to 28 decimals; false when it does not fit
// in 96 bits.
bool DecimalFromNumber(DecimalNumber number, DECIMAL* out);

// A DECIMAL's own fields, checked: false for a scale above 28 or unknown
// sign bits.
bool ReadDecimal(const DECIMAL& in, NumericValue* out);

}  // namespace platform::internal

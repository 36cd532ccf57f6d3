// A number as decimal digits, for formatting: rounding happens on the digits
// that are shown, half away from zero, so 2.675 rounds to 2.68.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::internal {

class DecimalNumber {
 public:
  DecimalNumber() = default;

  // The value rounded half to even to significantDigits significant digits
  // (1 to 40): 15 for a double and 7 for a float, the precision the
  // platform's conversions carry.
  static DecimalNumber FromDouble(double value, int significantDigits);
  static DecimalNumber FromInteger(int64_t value);
  static DecimalNumber FromUnsigned(uint64_t value);
  // value / 10^scale, such as a currency amount (scale 4).
  static DecimalNumber FromScaled(int64_t value, int scale);
  // The decimal digits ("0" to "9" characters) times 10^power, with a sign.
  static DecimalNumber FromDigits(std::string digits, int power, bool negative);
  // A magnitude of up to 128 bits divided by 10^scale, with a sign.
  static DecimalNumber FromWide(unsigned __int128 magnitude, int scale, bool negative);

  bool negative() const { return negative_; }
  bool isZero() const { return digits_.empty(); }
  DecimalNumber magnitude() const;

  // The power of ten of the first digit plus one: 1 for 1.5, 0 for 0.5.
  int pointPosition() const { return point_; }
  // The significant digits, without leading or trailing zeros ("" for 0).
  const std::string& significantDigits() const { return digits_; }

  // -1, 0 or 1 as this value is below, equal to or above the other, exactly.
  int Compare(const DecimalNumber& other) const;

  // Multiplies by 10^power.
  void Shift(int power);
  // Rounds half away from zero to that many digits after the point.
  void RoundToFraction(int places);
  // Rounds half away from zero to that many significant digits.
  void RoundToSignificant(int digits);

  // The digit at a position counted from the first significant digit (0),
  // which stands pointPosition() places before the point; '0' outside the
  // significant digits.
  char DigitAt(int position) const {
    if (position < 0 || position >= static_cast<int>(digits_.size())) return '0';
    return digits_[static_cast<size_t>(position)];
  }

  // The digits before the point, without leading zeros ("" for 0.5).
  std::string IntegerDigits() const;
  // Exactly `places` digits after the point (truncated, zero-padded).
  std::string FractionDigits(int places) const;

  // The plain text of the number: up to `precision` significant digits in
  // fixed notation, exponent notation ("1E+20", "1.5E-12") beyond them or
  // below 1E-11. decimal is the locale's separator.
  std::u16string GeneralText(int precision, char16_t decimal) const;

 private:
  // Reads "d.ddde+XX" (or "de-XX") as written by std::to_chars.
  void readScientific(std::string_view text);
  void roundAt(int keep);
  void normalize();

  bool negative_ = false;
  std::string digits_;  // no leading or trailing zeros; empty for zero
  int point_ = 0;       // value = 0.digits_ x 10^point_
};

}  // namespace platform::internal

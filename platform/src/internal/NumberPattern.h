// One number section of a format: digit placeholders 0 and #, the decimal
// point, thousands separators and scaling commas, percent, exponents E+ E-
// e+ e-, and literal text (quoted, escaped or plain).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "internal/DecimalNumber.h"

namespace platform::internal {

struct LocaleData;

class NumberPattern {
 public:
  explicit NumberPattern(std::u16string_view section);

  // Formats the magnitude of value; the caller adds any minus sign. Digits
  // are rounded half away from zero at the last shown place; the separators
  // are the locale's.
  std::u16string Format(const DecimalNumber& value, const LocaleData& locale) const;

  bool hasDigits() const { return integerSlots_ + fractionSlots_ > 0; }

 private:
  enum class Kind { Required, Optional, DecimalPoint, Literal, Percent, Exponent, Comma };
  enum class Part { Integer, Fraction, Exponent };
  struct Token {
    Kind kind;
    Part part;
    std::u16string text;  // literal text; "E+", "e-" ... for an exponent
  };

  struct Digits {
    std::string integer;
    std::string fraction;
    std::string exponent;
    bool negativeExponent = false;
  };

  void parse(std::u16string_view section);
  void resolveCommas();
  void countSlots();
  Digits fixedDigits(DecimalNumber value) const;
  Digits scientificDigits(DecimalNumber value) const;
  std::string trimFraction(std::string fraction) const;
  std::u16string emit(const Digits& digits, const LocaleData& locale) const;

  std::vector<Token> tokens_;
  bool grouping_ = false;
  int scaleCommas_ = 0;
  int percents_ = 0;
  bool scientific_ = false;
  int integerSlots_ = 0;
  int minIntegerDigits_ = 0;
  int fractionSlots_ = 0;
  int minFractionDigits_ = 0;
  int exponentSlots_ = 0;
  int minExponentDigits_ = 0;
};

}  // namespace platform::internal

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

  // The digits a pattern shows of a rounded magnitude, read from it as
  // needed rather than copied out.
  struct Digits {
    const DecimalNumber* value = nullptr;  // rounded, and scaled for an exponent
    int integerZeros = 0;                  // zeros before the integer digits
    int integerCount = 0;                  // integer digits, those zeros included
    int fractionCount = 0;                 // decimals shown
    std::string exponent;                  // the exponent's digits, padded
    bool negativeExponent = false;

    char integer(int k) const;   // k below integerCount
    char fraction(int j) const;  // j from 0: the first decimal
  };

  void parse(std::u16string_view section);
  void resolveCommas();
  void countSlots();
  // Rounds value in place for the pattern and describes what it shows; the
  // result reads value, which must outlive it.
  Digits fixedDigits(DecimalNumber& value) const;
  Digits scientificDigits(DecimalNumber& value) const;
  Digits shownDigits(const DecimalNumber& value) const;
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

#include "internal/DecimalNumber.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace platform::internal {
namespace {

std::u16string widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

// Above 15 significant digits decimals lie closer together than doubles.
constexpr int kMostQuickDigits = 15;

// floor(e * log10(2)), exactly for |e| up to 1650.
int FloorLog10OfPowerOfTwo(int e) {
  constexpr int kLog10Of2Scaled = 78913;  // log10(2) * 2^18, rounded down
  if (e >= 0) return (e * kLog10Of2Scaled) >> 18;
  return -((-e * kLog10Of2Scaled) >> 18) - 1;  // e * log10(2) is never whole
}

// magnitude (finite, above zero) rounded to `digits` significant digits, as
// an integer times 10^-scale, found by scaling with an exact power of ten.
//
// Why the result is exact: a double of normal size lies within half its own
// spacing of any decimal that reads back as it, and with at most 15 digits
// the spacing of the decimals is wider than that of doubles. So a decimal of
// that many digits that reads back as magnitude is the one nearest to it,
// which is the rounded value. The candidate comes from one rounded product;
// dividing it back by the power of ten (exact operands, one correctly rounded
// operation) tells whether it reads back as magnitude. False when the quick
// way finds nothing; the caller then writes out all the digits.
bool QuickRounded(double magnitude, int digits, uint64_t* mantissa, int* scale) {
  if (digits < 1 || digits > kMostQuickDigits ||
      !(magnitude >= std::numeric_limits<double>::min())) {
    return false;
  }
  // The power of two below magnitude gives the decimal exponent of its first
  // digit, or one less.
  const int binaryExponent = static_cast<int>(std::bit_cast<uint64_t>(magnitude) >> 52) - 1023;
  const int firstDigit = FloorLog10OfPowerOfTwo(binaryExponent);
  int k = digits - 1 - firstDigit;
  for (int attempt = 0; attempt < 2; ++attempt, --k) {
    if (k < -kLargestExactPower || k > kLargestExactPower) return false;
    const double power = kExactPowersOfTen[k < 0 ? -k : k];
    const double scaled = k < 0 ? magnitude / power : magnitude * power;
    if (scaled + 0.5 >= kExactPowersOfTen[digits]) continue;  // one digit too many
    const auto candidate = static_cast<uint64_t>(scaled + 0.5);
    const double back =
        k < 0 ? static_cast<double>(candidate) * power : static_cast<double>(candidate) / power;
    if (back != magnitude) return false;
    *mantissa = candidate;
    *scale = k;
    return true;
  }
  return false;
}

// Divides a mantissa below 10^16 and above zero by the powers of ten it is
// a multiple of.
void DropTrailingZeros(uint64_t* mantissa, int* scale) {
  struct Step {
    uint64_t divisor;
    int zeros;
  };
  static constexpr Step kSteps[] = {{100'000'000, 8}, {10'000, 4}, {100, 2}, {10, 1}};
  for (const Step& step : kSteps) {
    if (*mantissa % step.divisor != 0) continue;
    *mantissa /= step.divisor;
    *scale -= step.zeros;
  }
}

}  // namespace

DecimalNumber DecimalNumber::FromDouble(double value, int significantDigits) {
  DecimalNumber number;
  if (!std::isfinite(value) || value == 0) return number;
  number.negative_ = value < 0;
  const double magnitude = std::fabs(value);
  uint64_t mantissa = 0;
  int scale = 0;
  if (QuickRounded(magnitude, significantDigits, &mantissa, &scale)) {
    DropTrailingZeros(&mantissa, &scale);
    char text[24];
    char* end = std::to_chars(text, text + sizeof text, mantissa).ptr;
    // Neither leading nor trailing zeros: already normalised.
    number.digits_.assign(text, end);
    number.point_ = static_cast<int>(end - text) - scale;
    return number;
  }
  // "d.dddde+XX": the digits and the exponent of the first one.
  char text[64];
  const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                  std::chars_format::scientific, significantDigits - 1)
                        .ptr;
  number.readScientific(std::string_view(text, end - text));
  return number;
}

void DecimalNumber::readScientific(std::string_view text) {
  const size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') digits_.push_back(c);
  }
  int exponent = 0;
  const char* start = text.data() + e + 1;
  if (*start == '+') ++start;
  std::from_chars(start, text.data() + text.size(), exponent);
  point_ = exponent + 1;
  normalize();
}

DecimalNumber DecimalNumber::FromInteger(int64_t value) {
  const uint64_t magnitude =
      value < 0 ? ~static_cast<uint64_t>(value) + 1 : static_cast<uint64_t>(value);
  DecimalNumber number = FromUnsigned(magnitude);
  number.negative_ = value < 0;
  return number;
}

DecimalNumber DecimalNumber::FromUnsigned(uint64_t value) {
  DecimalNumber number;
  number.digits_ = std::to_string(value);
  number.point_ = static_cast<int>(number.digits_.size());
  number.normalize();
  return number;
}

DecimalNumber DecimalNumber::FromScaled(int64_t value, int scale) {
  DecimalNumber number = FromInteger(value);
  number.Shift(-scale);
  return number;
}

DecimalNumber DecimalNumber::FromDigits(std::string digits, int power, bool negative) {
  DecimalNumber number;
  number.point_ = static_cast<int>(digits.size()) + power;
  number.digits_ = std::move(digits);
  number.negative_ = negative;
  number.normalize();
  return number;
}

DecimalNumber DecimalNumber::FromWide(unsigned __int128 magnitude, int scale, bool negative) {
  DecimalNumber number;
  std::string digits;
  while (magnitude != 0) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  }
  number.digits_ = digits;
  number.point_ = static_cast<int>(digits.size()) - scale;
  number.negative_ = negative;
  number.normalize();
  return number;
}

int DecimalNumber::Compare(const DecimalNumber& other) const {
  const int sign = isZero() ? 0 : (negative_ ? -1 : 1);
  const int otherSign = other.isZero() ? 0 : (other.negative_ ? -1 : 1);
  if (sign != otherSign) return sign < otherSign ? -1 : 1;
  if (sign == 0) return 0;
  // Same sign: compare the magnitudes, then turn the order for negatives.
  int order = 0;
  if (point_ != other.point_) {
    order = point_ < other.point_ ? -1 : 1;
  } else {
    const int byDigits = digits_.compare(other.digits_);
    order = byDigits < 0 ? -1 : (byDigits > 0 ? 1 : 0);
  }
  return negative_ ? -order : order;
}

DecimalNumber DecimalNumber::magnitude() const {
  DecimalNumber copy = *this;
  copy.negative_ = false;
  return copy;
}

void DecimalNumber::Shift(int power) {
  if (!isZero()) point_ += power;
}

void DecimalNumber::RoundToFraction(int places) {
  roundAt(point_ + places);
}

void DecimalNumber::RoundToSignificant(int digits) {
  roundAt(digits);
}

// Keeps the first `keep` digits, rounding on the next one.
void DecimalNumber::roundAt(int keep) {
  if (keep >= static_cast<int>(digits_.size())) return;
  if (keep < 0) {
    digits_.clear();
    normalize();
    return;
  }
  const bool up = digits_[keep] >= '5';
  digits_.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && digits_[i] == '9')
      digits_[i--] = '0';
    if (i >= 0) {
      ++digits_[i];
    } else {
      digits_.insert(digits_.begin(), '1');
      ++point_;
    }
  }
  normalize();
}

std::string DecimalNumber::IntegerDigits() const {
  if (point_ <= 0) return {};
  std::string integer = digits_.substr(0, point_);
  integer.resize(point_, '0');
  return integer;
}

std::string DecimalNumber::FractionDigits(int places) const {
  if (places <= 0) return {};
  std::string fraction(static_cast<size_t>(places), '0');
  // The digits after the point that lie among the significant ones.
  const int first = std::max(point_, 0);
  const int last = std::min(point_ + places, static_cast<int>(digits_.size()));
  for (int index = first; index < last; ++index)
    fraction[static_cast<size_t>(index - point_)] = digits_[static_cast<size_t>(index)];
  return fraction;
}

std::u16string DecimalNumber::GeneralText(int precision, char16_t decimal) const {
  if (isZero()) return u"0";
  DecimalNumber rounded = *this;
  rounded.RoundToSignificant(precision);
  const int exponent = rounded.point_ - 1;
  std::u16string text = negative_ ? u"-" : u"";
  if (exponent < -11 || exponent >= precision) {
    text.push_back(static_cast<char16_t>(rounded.digits_[0]));
    if (rounded.digits_.size() > 1) {
      text.push_back(decimal);
      text += widen(std::string_view(rounded.digits_).substr(1));
    }
    char power[16];
    std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text + widen(power);
  }
  const std::string integer = rounded.IntegerDigits();
  text += integer.empty() ? u"0" : widen(integer);
  const int places = static_cast<int>(rounded.digits_.size()) - rounded.point_;
  if (places > 0) {
    text.push_back(decimal);
    text += widen(rounded.FractionDigits(places));
  }
  return text;
}

void DecimalNumber::normalize() {
  const size_t first = digits_.find_first_not_of('0');
  if (first == std::string::npos) {
    digits_.clear();
    point_ = 0;
    negative_ = false;
    return;
  }
  digits_.erase(0, first);
  point_ -= static_cast<int>(first);
  digits_.erase(digits_.find_last_not_of('0') + 1);
}

}  // namespace platform::internal

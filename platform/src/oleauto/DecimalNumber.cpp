#include "internal/DecimalNumber.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace platform::internal {
namespace {

std::u16string widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

}  // namespace

DecimalNumber DecimalNumber::FromDouble(double value, int significantDigits) {
  DecimalNumber number;
  if (!std::isfinite(value) || value == 0) return number;
  number.negative_ = value < 0;
  // "d.ddddde+XX": the digits and the exponent of the first one.
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", significantDigits - 1, std::fabs(value));
  char* exponent = nullptr;
  for (char* p = text; *p; ++p) {
    if (*p == 'e') {
      exponent = p;
      break;
    }
    if (*p >= '0' && *p <= '9') number.digits_.push_back(*p);
  }
  number.point_ = std::atoi(exponent + 1) + 1;
  number.normalize();
  return number;
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
  std::string fraction;
  for (int i = 0; i < places; ++i) {
    const int index = point_ + i;
    const bool present = index >= 0 && index < static_cast<int>(digits_.size());
    fraction.push_back(present ? digits_[index] : '0');
  }
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

#include "internal/NumberPattern.h"

#include <algorithm>
#include <cstdlib>

#include "internal/LocaleData.h"

namespace platform::internal {
namespace {

// Writes the digits that belong in one placeholder of a right-aligned run of
// `slots` placeholders: the first placeholder also takes the digits that have
// no placeholder of their own. digitAt(k) is the k-th of `count` digits;
// separator (0 for none) goes between thousands.
template <typename DigitAt>
void placeDigit(int count, DigitAt digitAt, int slot, int slots, char16_t separator,
                std::u16string& out) {
  const int excess = count - slots;
  auto put = [&](int k) {
    out.push_back(static_cast<char16_t>(digitAt(k)));
    const int fromRight = count - 1 - k;
    if (separator && fromRight > 0 && fromRight % 3 == 0) out.push_back(separator);
  };
  if (slot == 0) {
    for (int k = 0; k < excess; ++k)
      put(k);
  }
  if (slot + excess >= 0) put(slot + excess);
}

}  // namespace

NumberPattern::NumberPattern(std::u16string_view section) {
  parse(section);
  resolveCommas();
  countSlots();
}

void NumberPattern::parse(std::u16string_view section) {
  Part part = Part::Integer;
  bool anyDigit = false;
  auto literal = [this](std::u16string text) {
    tokens_.push_back({Kind::Literal, Part::Integer, std::move(text)});
  };
  for (size_t i = 0; i < section.size(); ++i) {
    const char16_t c = section[i];
    if (c == u'"') {
      size_t close = section.find(u'"', i + 1);
      if (close == std::u16string_view::npos) close = section.size();
      literal(std::u16string(section.substr(i + 1, close - i - 1)));
      i = close;
    } else if (c == u'\\') {
      if (i + 1 < section.size()) literal(std::u16string(1, section[++i]));
    } else if (c == u'0' || c == u'#') {
      tokens_.push_back({c == u'0' ? Kind::Required : Kind::Optional, part, {}});
      anyDigit = true;
    } else if (c == u'.' && part == Part::Integer) {
      tokens_.push_back({Kind::DecimalPoint, part, {}});
      part = Part::Fraction;
    } else if (c == u',' && i + 1 < section.size() && section[i + 1] == u' ') {
      literal(u",");  // a comma followed by a space is text, not a separator
    } else if (c == u',' && part != Part::Exponent) {
      tokens_.push_back({Kind::Comma, part, {}});
    } else if (c == u'%') {
      tokens_.push_back({Kind::Percent, part, {}});
    } else if ((c == u'E' || c == u'e') && !scientific_ && anyDigit && i + 1 < section.size() &&
               (section[i + 1] == u'+' || section[i + 1] == u'-')) {
      tokens_.push_back({Kind::Exponent, part, std::u16string(section.substr(i, 2))});
      part = Part::Exponent;
      scientific_ = true;
      ++i;
    } else {
      literal(std::u16string(1, c));
    }
  }
}

// A comma between integer placeholders turns on thousands separators; commas
// after the last placeholder of the integer or decimal part divide by 1000
// each; commas between decimals mean nothing; others are text.
void NumberPattern::resolveCommas() {
  std::vector<Token> resolved;
  bool digitBefore = false;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    const Token& token = tokens_[i];
    if (token.kind != Kind::Comma) {
      if ((token.kind == Kind::Required || token.kind == Kind::Optional) &&
          token.part != Part::Exponent) {
        digitBefore = true;
      }
      resolved.push_back(token);
      continue;
    }
    size_t end = i;
    while (end < tokens_.size() && tokens_[end].kind == Kind::Comma)
      ++end;
    const bool digitAfter =
        end < tokens_.size() && tokens_[end].part == token.part &&
        (tokens_[end].kind == Kind::Required || tokens_[end].kind == Kind::Optional);
    const int run = static_cast<int>(end - i);
    if (digitAfter) {
      if (token.part == Part::Integer) grouping_ = true;
    } else if (digitBefore) {
      scaleCommas_ += run;
    } else {
      resolved.push_back({Kind::Literal, Part::Integer, std::u16string(run, u',')});
    }
    i = end - 1;
  }
  tokens_ = std::move(resolved);
}

void NumberPattern::countSlots() {
  int firstRequiredInteger = -1;
  for (const Token& token : tokens_) {
    if (token.kind == Kind::Percent) ++percents_;
    if (token.kind != Kind::Required && token.kind != Kind::Optional) continue;
    const bool required = token.kind == Kind::Required;
    switch (token.part) {
      case Part::Integer:
        if (required && firstRequiredInteger < 0) firstRequiredInteger = integerSlots_;
        ++integerSlots_;
        break;
      case Part::Fraction:
        ++fractionSlots_;
        if (required) minFractionDigits_ = fractionSlots_;
        break;
      case Part::Exponent:
        // The exponent shows as many digits as it has 0 placeholders.
        if (required) ++minExponentDigits_;
        ++exponentSlots_;
        break;
    }
  }
  if (firstRequiredInteger >= 0) minIntegerDigits_ = integerSlots_ - firstRequiredInteger;
  // ... and at least one.
  minExponentDigits_ = std::max(1, minExponentDigits_);
}

std::u16string NumberPattern::Format(const DecimalNumber& value, const LocaleData& locale) const {
  DecimalNumber shown = value.magnitude();
  shown.Shift(2 * percents_ - 3 * scaleCommas_);
  const Digits digits = scientific_ ? scientificDigits(shown) : fixedDigits(shown);
  return emit(digits, locale);
}

char NumberPattern::Digits::integer(int k) const {
  return k < integerZeros ? '0' : value->DigitAt(k - integerZeros);
}

char NumberPattern::Digits::fraction(int j) const {
  return value->DigitAt(value->pointPosition() + j);
}

NumberPattern::Digits NumberPattern::fixedDigits(DecimalNumber& value) const {
  value.RoundToFraction(fractionSlots_);
  return shownDigits(value);
}

NumberPattern::Digits NumberPattern::scientificDigits(DecimalNumber& value) const {
  int exponent = 0;
  if (!value.isZero()) {
    value.RoundToSignificant(std::max(1, integerSlots_ + fractionSlots_));
    exponent = value.pointPosition() - integerSlots_;
    value.Shift(-exponent);
  }
  Digits digits = shownDigits(value);
  digits.exponent = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.exponent.size()) < minExponentDigits_) {
    digits.exponent.insert(0, minExponentDigits_ - digits.exponent.size(), '0');
  }
  digits.negativeExponent = exponent < 0;
  return digits;
}

// The integer digits padded with zeros to the required ones; the decimals
// without trailing zeros in optional places (required ones, up to the last 0
// placeholder, always show).
NumberPattern::Digits NumberPattern::shownDigits(const DecimalNumber& value) const {
  Digits digits;
  digits.value = &value;
  const int integerDigits = std::max(value.pointPosition(), 0);
  digits.integerZeros = std::max(minIntegerDigits_ - integerDigits, 0);
  digits.integerCount = integerDigits + digits.integerZeros;
  digits.fractionCount = fractionSlots_;
  while (digits.fractionCount > minFractionDigits_ &&
         digits.fraction(digits.fractionCount - 1) == '0') {
    --digits.fractionCount;
  }
  return digits;
}

std::u16string NumberPattern::emit(const Digits& digits, const LocaleData& locale) const {
  std::u16string out;
  int integerSlot = 0;
  int fractionSlot = 0;
  int exponentSlot = 0;
  const char16_t separator = grouping_ ? locale.thousands : 0;
  auto integerAt = [&digits](int k) { return digits.integer(k); };
  auto exponentAt = [&digits](int k) { return digits.exponent[static_cast<size_t>(k)]; };
  const int exponentCount = static_cast<int>(digits.exponent.size());
  for (const Token& token : tokens_) {
    switch (token.kind) {
      case Kind::Literal:
        out += token.text;
        break;
      case Kind::Percent:
        out.push_back(u'%');
        break;
      case Kind::DecimalPoint:
        // Without integer placeholders the integer digits stand before the point.
        if (integerSlots_ == 0) {
          for (int k = 0; k < digits.integerCount; ++k)
            out.push_back(static_cast<char16_t>(digits.integer(k)));
        }
        out.push_back(locale.decimal);
        break;
      case Kind::Exponent:
        out.push_back(token.text[0]);
        if (digits.negativeExponent) {
          out.push_back(u'-');
        } else if (token.text[1] == u'+') {
          out.push_back(u'+');
        }
        // Without placeholders of its own the exponent still shows its digits.
        if (exponentSlots_ == 0) out.append(digits.exponent.begin(), digits.exponent.end());
        break;
      case Kind::Required:
      case Kind::Optional:
        if (token.part == Part::Integer) {
          placeDigit(digits.integerCount, integerAt, integerSlot++, integerSlots_, separator, out);
        } else if (token.part == Part::Fraction) {
          if (fractionSlot < digits.fractionCount) {
            out.push_back(static_cast<char16_t>(digits.fraction(fractionSlot)));
          }
          ++fractionSlot;
        } else {
          placeDigit(exponentCount, exponentAt, exponentSlot++, exponentSlots_, 0, out);
        }
        break;
      case Kind::Comma:
        break;  // resolved while parsing
    }
  }
  return out;
}

}  // namespace platform::internal

// VarParseNumFromStr: text to a type-independent description of a number
// (its digits, sign and power of ten); VarNumFromParseNum: that description to
// the smallest allowed variant type that holds it.
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "internal/DecimalNumber.h"
#include "internal/LocaleData.h"
#include "internal/NumberParsing.h"
#include "internal/NumericValue.h"
#include "platform/oleauto.h"

namespace platform::internal {

bool IsParserWhiteSpace(char16_t c) {
  return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

}  // namespace platform::internal

namespace {

using platform::internal::IsParserWhiteSpace;

// Exponents beyond this already over- or underflow every type; clamping keeps
// the arithmetic in range for absurd inputs like "1e99999999999".
constexpr int kExponentLimit = 100000;

int DigitValue(char16_t c, int baseShift) {
  int value = -1;
  if (c >= u'0' && c <= u'9') {
    value = c - u'0';
  } else if (c >= u'a' && c <= u'f') {
    value = c - u'a' + 10;
  } else if (c >= u'A' && c <= u'F') {
    value = c - u'A' + 10;
  }
  const int radix = baseShift == 0 ? 10 : 1 << baseShift;
  return value < radix ? value : -1;
}

// One pass over the text; fills the caller's NUMPARSE and digit array.
class NumberScanner {
 public:
  NumberScanner(std::u16string_view text, const platform::internal::LocaleData& locale,
                ULONG allowed, int room, BYTE* digits)
      : text_(text), locale_(locale), allowed_(allowed), room_(room), digits_(digits) {}

  HRESULT Scan(NUMPARSE* out) {
    ScanLeading();
    ScanBasePrefix();
    ScanMantissa();
    ScanTrailing();
    return Finish(out);
  }

 private:
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : u'\0';
  }
  bool Allowed(ULONG flag) const { return (allowed_ & flag) != 0; }
  bool Found(ULONG flag) const { return (found_ & flag) != 0; }
  bool SignFound() const {
    return (found_ & (NUMPRS_LEADING_PLUS | NUMPRS_LEADING_MINUS | NUMPRS_TRAILING_PLUS |
                      NUMPRS_TRAILING_MINUS)) != 0;
  }

  // Where the locale groups digits with a space-like character, every
  // space-like character is a group separator.
  bool SpaceLikeGroups() const { return IsSpaceLike(locale_.thousands); }
  static bool IsSpaceLike(char16_t c) { return c == u' ' || c == 0xA0 || c == 0x202F; }
  bool IsGroupSeparator(char16_t c) const {
    return c == locale_.thousands || (SpaceLikeGroups() && IsSpaceLike(c));
  }

  // Trailing white space does not include the space-like group separators
  // when NUMPRS_THOUSANDS does not allow them.
  bool IsWhiteSpace(char16_t c, ULONG flag) const {
    if (!IsParserWhiteSpace(c)) return false;
    return !(flag == NUMPRS_TRAILING_WHITE && SpaceLikeGroups() && IsSpaceLike(c) &&
             !Allowed(NUMPRS_THOUSANDS));
  }

  bool TakeWhiteSpace(ULONG flag) {
    if (!Allowed(flag) || !IsWhiteSpace(Peek(), flag)) return false;
    while (IsWhiteSpace(Peek(), flag))
      ++pos_;
    found_ |= flag;
    return true;
  }

  bool TakeSign(ULONG plusFlag, ULONG minusFlag) {
    if (SignFound()) return false;
    if (Allowed(plusFlag) && Peek() == u'+') {
      found_ |= plusFlag;
      ++pos_;
      return true;
    }
    if (Allowed(minusFlag) && Peek() == u'-') {
      found_ |= minusFlag | NUMPRS_NEG;
      ++pos_;
      return true;
    }
    return false;
  }

  // The locale's symbol, of one or more characters. Leading, it stands once;
  // trailing, it may repeat. A hexadecimal or octal number takes none after
  // its digits.
  bool TakeCurrency(bool trailing) {
    if (!Allowed(NUMPRS_CURRENCY)) return false;
    if (trailing ? baseShift_ != 0 : Found(NUMPRS_CURRENCY)) return false;
    const std::u16string_view symbol = locale_.currency ? locale_.currency : u"";
    if (symbol.empty() || text_.substr(pos_, symbol.size()) != symbol) return false;
    pos_ += symbol.size();
    found_ |= NUMPRS_CURRENCY;
    return true;
  }

  void ScanLeading() {
    for (;;) {
      if (TakeWhiteSpace(NUMPRS_LEADING_WHITE)) continue;
      if (TakeSign(NUMPRS_LEADING_PLUS, NUMPRS_LEADING_MINUS)) continue;
      if (TakeCurrency(false)) continue;
      if (Allowed(NUMPRS_PARENS) && !Found(NUMPRS_PARENS) && Peek() == u'(') {
        found_ |= NUMPRS_PARENS;
        ++pos_;
        continue;
      }
      return;
    }
  }

  void ScanBasePrefix() {
    // A currency symbol never introduces a hexadecimal or octal number.
    if (!Allowed(NUMPRS_HEX_OCT) || Found(NUMPRS_CURRENCY) || Peek() != u'&') return;
    const char16_t kind = Peek(1);
    if (kind == u'H' || kind == u'h') {
      baseShift_ = 4;
    } else if (kind == u'O' || kind == u'o') {
      baseShift_ = 3;
    } else {
      return;
    }
    found_ |= NUMPRS_HEX_OCT;
    pos_ += 2;
  }

  void TakeDigit(int value) {
    if (digitCount_ == 0 && value == 0) {
      // A leading zero is not stored, but after the decimal point it still
      // moves the position of the digits that follow.
      sawZero_ = true;
      if (Found(NUMPRS_DECIMAL)) --pwr10_;
      return;
    }
    if (digitCount_ < room_) {
      digits_[digitCount_++] = static_cast<BYTE>(value);
      if (Found(NUMPRS_DECIMAL)) --pwr10_;
      return;
    }
    // No room: an integer digit still scales the number, a fraction digit is
    // simply lost. Only a lost non-zero digit makes the result inexact.
    if (value != 0) droppedNonZero_ = true;
    if (!Found(NUMPRS_DECIMAL)) ++pwr10_;
  }

  bool HaveMantissaDigit() const { return digitCount_ > 0 || sawZero_ || droppedNonZero_; }

  // An exponent is taken only when at least one digit follows the marker
  // and its optional sign; otherwise the number ends before the marker.
  bool TakeExponent() {
    const char16_t marker = Peek();
    if (marker != u'e' && marker != u'E' && marker != u'd' && marker != u'D') return false;
    size_t ahead = 1;
    bool negative = false;
    if (Peek(ahead) == u'+' || Peek(ahead) == u'-') {
      negative = Peek(ahead) == u'-';
      ++ahead;
    }
    if (DigitValue(Peek(ahead), 0) < 0) return false;
    pos_ += ahead;
    int exponent = 0;
    for (int digit; (digit = DigitValue(Peek(), 0)) >= 0; ++pos_) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + digit;
    }
    exponent_ = negative ? -exponent : exponent;
    found_ |= NUMPRS_EXPONENT;
    return true;
  }

  void ScanMantissa() {
    const bool decimalBase = baseShift_ == 0;
    for (;;) {
      const char16_t c = Peek();
      const int digit = DigitValue(c, baseShift_);
      if (digit >= 0) {
        TakeDigit(digit);
        ++pos_;
      } else if (decimalBase && Allowed(NUMPRS_THOUSANDS) && IsGroupSeparator(c) &&
                 !Found(NUMPRS_DECIMAL) && HaveMantissaDigit()) {
        found_ |= NUMPRS_THOUSANDS;
        ++pos_;
      } else if (decimalBase && Allowed(NUMPRS_DECIMAL) && c == locale_.decimal &&
                 !Found(NUMPRS_DECIMAL)) {
        found_ |= NUMPRS_DECIMAL;
        ++pos_;
      } else if (decimalBase && Allowed(NUMPRS_EXPONENT) && HaveMantissaDigit() && TakeExponent()) {
        return;
      } else {
        return;
      }
    }
  }

  void ScanTrailing() {
    for (;;) {
      if (TakeWhiteSpace(NUMPRS_TRAILING_WHITE)) continue;
      if (TakeSign(NUMPRS_TRAILING_PLUS, NUMPRS_TRAILING_MINUS)) continue;
      if (TakeCurrency(true)) continue;
      if (Found(NUMPRS_PARENS) && !parensClosed_ && Peek() == u')') {
        parensClosed_ = true;
        found_ |= NUMPRS_NEG;
        ++pos_;
        continue;
      }
      return;
    }
  }

  HRESULT Finish(NUMPARSE* out) {
    out->dwOutFlags = found_;
    out->nBaseShift = baseShift_;
    out->cDig = 0;
    out->cchUsed = 0;
    out->nPwr10 = 0;
    if (!HaveMantissaDigit()) return DISP_E_TYPEMISMATCH;
    out->cchUsed = static_cast<INT>(pos_);
    if (Found(NUMPRS_PARENS) && !parensClosed_) return DISP_E_TYPEMISMATCH;
    if (Allowed(NUMPRS_USE_ALL) && pos_ < text_.size()) return DISP_E_TYPEMISMATCH;

    if (digitCount_ == 0 && !droppedNonZero_) {
      // The number is zero: one zero digit; the zeros after the decimal
      // point still count in the power of ten (".000" is 0 x 10^-3).
      digits_[0] = 0;
      out->cDig = 1;
      out->nPwr10 = pwr10_ + exponent_;
      return S_OK;
    }
    if (baseShift_ == 0) {
      while (digitCount_ > 1 && digits_[digitCount_ - 1] == 0) {
        --digitCount_;
        ++pwr10_;
      }
    }
    if (droppedNonZero_) out->dwOutFlags |= NUMPRS_INEXACT;
    out->cDig = digitCount_;
    out->nPwr10 = pwr10_ + exponent_;
    return S_OK;
  }

  std::u16string_view text_;
  const platform::internal::LocaleData& locale_;
  ULONG allowed_;
  int room_;
  BYTE* digits_;

  size_t pos_ = 0;
  ULONG found_ = 0;
  int baseShift_ = 0;
  int digitCount_ = 0;
  int pwr10_ = 0;
  int exponent_ = 0;
  bool sawZero_ = false;
  bool droppedNonZero_ = false;
  bool parensClosed_ = false;
};

// ---------------------------------------------------------------------------
// VarNumFromParseNum
// ---------------------------------------------------------------------------

constexpr ULONG kIntegerBits =
    VTBIT_I1 | VTBIT_UI1 | VTBIT_I2 | VTBIT_UI2 | VTBIT_I4 | VTBIT_UI4 | VTBIT_I8 | VTBIT_UI8;
constexpr ULONG kRealBits = VTBIT_R4 | VTBIT_R8 | VTBIT_CY | VTBIT_DECIMAL;

using Magnitude = unsigned __int128;
constexpr Magnitude kUInt64Max = static_cast<Magnitude>(UINT64_MAX);

// The digits scaled by 10^pwr10 and rounded half to even to an integer.
// False when the magnitude exceeds 64 bits.
bool DecimalMagnitude(const BYTE* digits, int count, int pwr10, uint64_t* result) {
  const int integerDigits = count + pwr10;
  Magnitude value = 0;
  for (int i = 0; i < integerDigits; ++i) {
    value = value * 10 + (i < count ? digits[i] : 0);
    if (value > kUInt64Max) return false;
  }
  if (integerDigits < count) {
    // Round on the first dropped digit; an exact half goes to even.
    const int first = integerDigits < 0 ? -1 : integerDigits;
    const int dropped = first < 0 ? 0 : digits[first];
    bool moreAfter = false;
    for (int i = first + 1; i < count; ++i)
      moreAfter = moreAfter || (i >= 0 && digits[i] != 0);
    const bool up = dropped > 5 || (dropped == 5 && (moreAfter || (value & 1) != 0));
    if (up) ++value;
    if (value > kUInt64Max) return false;
  }
  *result = static_cast<uint64_t>(value);
  return true;
}

bool BaseMagnitude(const BYTE* digits, int count, int baseShift, int extraDigits,
                   uint64_t* result) {
  Magnitude value = 0;
  for (int i = 0; i < count + extraDigits; ++i) {
    value = (value << baseShift) + (i < count ? digits[i] : 0);
    if (value > kUInt64Max) return false;
  }
  *result = static_cast<uint64_t>(value);
  return true;
}

struct IntegerCandidate {
  VARTYPE vt;
  ULONG bit;
  int bits;
  bool isSigned;
};

constexpr IntegerCandidate kIntegerOrder[] = {
    {VT_I1, VTBIT_I1, 8, true},     {VT_UI1, VTBIT_UI1, 8, false},  {VT_I2, VTBIT_I2, 16, true},
    {VT_UI2, VTBIT_UI2, 16, false}, {VT_I4, VTBIT_I4, 32, true},    {VT_UI4, VTBIT_UI4, 32, false},
    {VT_I8, VTBIT_I8, 64, true},    {VT_UI8, VTBIT_UI8, 64, false},
};

void StoreInteger(VARIANT* out, VARTYPE vt, int64_t value) {
  out->vt = vt;
  out->llVal = value;  // the 64-bit types; narrower ones are cut below
  switch (vt) {
    case VT_I1:
      out->cVal = static_cast<CHAR>(value);
      return;
    case VT_UI1:
      out->bVal = static_cast<BYTE>(value);
      return;
    case VT_I2:
    case VT_UI2:
      out->iVal = static_cast<SHORT>(value);
      return;
    case VT_I4:
    case VT_UI4:
      out->lVal = static_cast<LONG>(value);
      return;
  }
}

// The smallest allowed integer type holding the value. A hexadecimal or
// octal magnitude that fills a signed type's width is read as that type's
// two's-complement pattern (&HFFFF as a 16-bit integer is -1).
bool StoreSmallestInteger(uint64_t magnitude, bool negative, bool bitPattern, ULONG vtBits,
                          VARIANT* out) {
  for (const IntegerCandidate& type : kIntegerOrder) {
    if (!(vtBits & type.bit)) continue;
    const uint64_t unsignedMax = type.bits == 64 ? UINT64_MAX : (uint64_t{1} << type.bits) - 1;
    const uint64_t signedMax = unsignedMax >> 1;
    if (negative) {
      if (magnitude == 0 || (type.isSigned && magnitude <= signedMax + 1)) {
        StoreInteger(out, type.vt, static_cast<int64_t>(0 - magnitude));
        return true;
      }
      continue;
    }
    const uint64_t limit = (type.isSigned && !bitPattern) ? signedMax : unsignedMax;
    if (magnitude <= limit) {
      StoreInteger(out, type.vt, static_cast<int64_t>(magnitude));
      return true;
    }
  }
  return false;
}

// The double nearest to the decimal digits x 10^pwr10 (correctly rounded).
bool DecimalToDouble(const BYTE* digits, int count, int pwr10, double* result) {
  std::string text;
  text.reserve(count + 16);
  for (int i = 0; i < count; ++i)
    text.push_back(static_cast<char>('0' + digits[i]));
  text += 'e';
  text += std::to_string(pwr10);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small underflows to zero; too large overflows.
    if (count + pwr10 <= 0) {
      *result = 0.0;
      return true;
    }
    return false;
  }
  if (ec != std::errc()) return false;
  *result = value;
  return std::isfinite(value);
}

bool StoreReal(double magnitude, bool negative, ULONG vtBits, VARIANT* out) {
  const double value = negative ? -magnitude : magnitude;
  if ((vtBits & VTBIT_R4) && std::fabs(value) <= FLT_MAX) {
    out->vt = VT_R4;
    out->llVal = 0;
    out->fltVal = static_cast<float>(value);
    return true;
  }
  if (vtBits & VTBIT_R8) {
    out->vt = VT_R8;
    out->dblVal = value;
    return true;
  }
  return false;
}

bool StoreCurrency(const BYTE* digits, int count, int pwr10, bool negative, VARIANT* out) {
  uint64_t scaled = 0;
  if (!DecimalMagnitude(digits, count, pwr10 + 4, &scaled)) return false;
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (scaled > limit) return false;
  out->vt = VT_CY;
  out->cyVal.int64 = negative ? static_cast<int64_t>(0 - scaled) : static_cast<int64_t>(scaled);
  return true;
}

bool StoreDecimal(const BYTE* digits, int count, int pwr10, bool negative, VARIANT* out) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text.push_back(static_cast<char>('0' + digits[i]));
  const auto number = platform::internal::DecimalNumber::FromDigits(text, pwr10, negative);
  if (!platform::internal::DecimalFromNumber(number, &out->decVal)) return false;
  out->vt = VT_DECIMAL;
  return true;
}

bool HasFraction(const BYTE* digits, int count, int pwr10) {
  for (int i = std::max(0, count + pwr10); i < count; ++i) {
    if (digits[i] != 0) return true;
  }
  return false;
}

}  // namespace

HRESULT VarParseNumFromStr(LPCOLESTR text, LCID lcid, ULONG flags, NUMPARSE* numprs, BYTE* digits) {
  if (!numprs || !digits || numprs->cDig <= 0) return E_INVALIDARG;
  // The flag argument enables parsing features as well as dwInFlags does.
  const ULONG allowed = numprs->dwInFlags | (flags & NUMPRS_STD);
  const std::u16string_view view = text ? std::u16string_view(text) : std::u16string_view();
  NumberScanner scanner(view, platform::internal::LocaleDataFor(lcid), allowed, numprs->cDig,
                        digits);
  return scanner.Scan(numprs);
}

HRESULT VarNumFromParseNum(NUMPARSE* numprs, BYTE* digits, ULONG vtBits, VARIANT* result) {
  if (!numprs || !result || numprs->cDig < 0 || (numprs->cDig > 0 && !digits)) {
    return E_INVALIDARG;
  }
  const int baseShift = numprs->nBaseShift;
  if (baseShift != 0 && baseShift != 3 && baseShift != 4) return E_INVALIDARG;
  const int radix = baseShift == 0 ? 10 : 1 << baseShift;
  const int count = numprs->cDig;
  for (int i = 0; i < count; ++i) {
    if (digits[i] >= radix) return E_INVALIDARG;
  }
  const int pwr10 = std::clamp(numprs->nPwr10, -kExponentLimit, kExponentLimit);
  const bool negative = (numprs->dwOutFlags & NUMPRS_NEG) != 0;

  if (baseShift != 0) {
    uint64_t magnitude = 0;
    if (pwr10 < 0 || !BaseMagnitude(digits, count, baseShift, pwr10, &magnitude)) {
      return DISP_E_OVERFLOW;
    }
    if (StoreSmallestInteger(magnitude, negative, true, vtBits, result)) return S_OK;
    const double value = static_cast<double>(magnitude);
    if (StoreReal(value, negative, vtBits, result)) return S_OK;
    BYTE decimalDigits[24];
    const std::string text = std::to_string(magnitude);
    for (size_t i = 0; i < text.size(); ++i)
      decimalDigits[i] = static_cast<BYTE>(text[i] - '0');
    if ((vtBits & VTBIT_CY) &&
        StoreCurrency(decimalDigits, static_cast<int>(text.size()), 0, negative, result)) {
      return S_OK;
    }
    return DISP_E_OVERFLOW;
  }

  const bool fractional = HasFraction(digits, count, pwr10);
  if ((vtBits & kIntegerBits) && !(fractional && (vtBits & kRealBits))) {
    uint64_t magnitude = 0;
    if (DecimalMagnitude(digits, count, pwr10, &magnitude) &&
        StoreSmallestInteger(magnitude, negative, false, vtBits, result)) {
      return S_OK;
    }
  }
  if (vtBits & (VTBIT_R4 | VTBIT_R8)) {
    double magnitude = 0;
    if (DecimalToDouble(digits, count, pwr10, &magnitude) &&
        StoreReal(magnitude, negative, vtBits, result)) {
      return S_OK;
    }
  }
  if ((vtBits & VTBIT_CY) && StoreCurrency(digits, count, pwr10, negative, result)) return S_OK;
  if ((vtBits & VTBIT_DECIMAL) && StoreDecimal(digits, count, pwr10, negative, result)) {
    return S_OK;
  }
  return DISP_E_OVERFLOW;
}

namespace platform::internal {

HRESULT NumberFromText(LPCOLESTR text, LCID lcid, ULONG flags, ULONG vtBits, VARIANT* out) {
  // Enough digits for every type's precision plus one for rounding.
  BYTE digits[64];
  NUMPARSE numprs{};
  numprs.cDig = static_cast<INT>(sizeof digits);
  numprs.dwInFlags = NUMPRS_STD;
  HRESULT hr = VarParseNumFromStr(text, lcid, flags & ~NUMPRS_STD, &numprs, digits);
  if (FAILED(hr)) return hr;
  return VarNumFromParseNum(&numprs, digits, vtBits, out);
}

}  // namespace platform::internal

#include "runtime/core/Val.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace rt {
namespace {

// Val reads numbers the same way whatever the user's locale.
constexpr LCID kValLocale = 0x0409;
// NUMPRS_LEADING_PLUS | NUMPRS_LEADING_MINUS | NUMPRS_HEX_OCT |
// NUMPRS_DECIMAL | NUMPRS_EXPONENT.
constexpr ULONG kValParseFlags = 0x954;
constexpr int kDigitRoom = 32;

bool IsIgnoredSpace(char16_t c) {
  return c == u'\r' || c == u'\n' || c == u' ' || c == u'\t' || c == u'\u3000';
}

std::u16string WithoutSpaces(std::u16string_view text) {
  std::u16string kept;
  kept.reserve(text.size());
  for (char16_t c : text) {
    if (!IsIgnoredSpace(c)) kept.push_back(c);
  }
  return kept;
}

bool IsTypeSuffix(char16_t c) {
  return c == u'!' || c == u'&' || c == u'#' || c == u'@';
}

// "&H" and "&O" numbers in 32768 to 65535 without a type suffix are 16-bit
// integers, so their top bit is the sign.
double SixteenBitReading(double value, char16_t next) {
  if (IsTypeSuffix(next)) return value;
  const double whole = std::trunc(value);
  if (whole < 32768 || whole > 65535) return value;
  return whole - 65536;
}

// A text of at most 15 decimal digits and nothing else (a count typed into
// a box) is read directly: every such number is exact in a double.
bool PlainDigits(std::u16string_view text, DOUBLE* value) {
  if (text.empty() || text.size() > 15) return false;
  int64_t whole = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    whole = whole * 10 + (c - u'0');
  }
  *value = static_cast<DOUBLE>(whole);
  return true;
}

}  // namespace

HRESULT ValOfText(BSTR text, DOUBLE* value) {
  *value = 0;
  if (SysStringLen(text) == 0) return S_OK;
  if (PlainDigits({text, SysStringLen(text)}, value)) return S_OK;
  const std::u16string number = WithoutSpaces({text, SysStringLen(text)});
  NUMPARSE parse{};
  parse.cDig = kDigitRoom;
  parse.dwInFlags = kValParseFlags;
  std::array<BYTE, kDigitRoom> digits{};
  if (FAILED(VarParseNumFromStr(number.c_str(), kValLocale, 0, &parse, digits.data()))) {
    return S_OK;  // no number: 0
  }
  Variant converted;
  if (HRESULT hr = VarNumFromParseNum(&parse, digits.data(), VTBIT_R8, &converted); FAILED(hr)) {
    return hr;
  }
  const size_t used = static_cast<size_t>(parse.cchUsed);
  const char16_t next = used < number.size() ? number[used] : u'\0';
  if (parse.nBaseShift != 0) {
    *value = SixteenBitReading(converted.dblVal, next);
    return S_OK;
  }
  const bool integerSuffix = next == u'%' || next == u'&';
  if (integerSuffix && (parse.dwOutFlags & (NUMPRS_DECIMAL | NUMPRS_EXPONENT))) {
    return DISP_E_TYPEMISMATCH;
  }
  *value = converted.dblVal;
  return S_OK;
}

}  // namespace rt

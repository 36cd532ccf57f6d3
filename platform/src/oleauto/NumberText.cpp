// Numbers and Booleans to text: VarBstrFromR8, R4, I4, I8, Cy and Bool.
#include "internal/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "internal/LocaleData.h"
#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace platform::internal {
namespace {

// Numbers down to 1E-11 are written out in full ("0.00000000001"); smaller
// ones in exponent form.
constexpr int kLowestPlainExponent = -11;

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// The texts the platform's C library gives the values without a number.
std::u16string FormatNonFinite(double value) {
  if (std::isnan(value)) return std::signbit(value) ? u"-1.#IND" : u"1.#QNAN";
  return value < 0 ? u"-1.#INF" : u"1.#INF";
}

template <typename Integer>
std::u16string_view WriteInteger(Integer value, IntegerTextBuffer& buffer) {
  char ascii[kIntegerTextSize];
  const char* end = std::to_chars(ascii, ascii + kIntegerTextSize, value).ptr;
  const auto size = static_cast<size_t>(end - ascii);
  std::copy(ascii, ascii + size, buffer);
  return {buffer, size};
}

}  // namespace

std::u16string FormatReal(double value, int significantDigits, char16_t decimalSeparator) {
  if (!std::isfinite(value)) return FormatNonFinite(value);
  if (value == 0.0) return u"0";

  // Rounded to the significant digits first: the exponent of the rounded
  // value decides the form (999999999999999.9 becomes 1E+15).
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, significantDigits - 1);
  if (ec != std::errc()) return u"0";
  const std::string_view text(buffer, end - buffer);
  const size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);

  std::u16string out;
  if (value < 0) out += u'-';
  if (exponent < kLowestPlainExponent || exponent >= significantDigits) {
    out += static_cast<char16_t>(digits[0]);
    if (digits.size() > 1) {
      out += decimalSeparator;
      out += Widen(std::string_view(digits).substr(1));
    }
    out += exponent < 0 ? u"E-" : u"E+";
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) out += u'0';
    out += Widen(std::to_string(magnitude));
    return out;
  }
  if (exponent < 0) {
    out += u'0';
    out += decimalSeparator;
    out.append(static_cast<size_t>(-exponent - 1), u'0');
    out += Widen(digits);
    return out;
  }
  const size_t integerDigits = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out += Widen(digits);
    out.append(integerDigits - digits.size(), u'0');
    return out;
  }
  out += Widen(std::string_view(digits).substr(0, integerDigits));
  out += decimalSeparator;
  out += Widen(std::string_view(digits).substr(integerDigits));
  return out;
}

std::u16string FormatSigned(int64_t value) {
  IntegerTextBuffer buffer;
  return std::u16string(WriteSigned(value, buffer));
}

std::u16string FormatUnsigned(uint64_t value) {
  IntegerTextBuffer buffer;
  return std::u16string(WriteUnsigned(value, buffer));
}

std::u16string_view WriteSigned(int64_t value, IntegerTextBuffer& buffer) {
  return WriteInteger(value, buffer);
}

std::u16string_view WriteUnsigned(uint64_t value, IntegerTextBuffer& buffer) {
  return WriteInteger(value, buffer);
}

std::u16string FormatCurrency(int64_t scaled, char16_t decimalSeparator) {
  const bool negative = scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : scaled;
  std::u16string out = negative ? u"-" : u"";
  out += FormatUnsigned(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction == 0) return out;
  std::u16string decimals = Widen(std::to_string(fraction + 10000)).substr(1);
  while (decimals.back() == u'0')
    decimals.pop_back();
  out += decimalSeparator;
  out += decimals;
  return out;
}

HRESULT ReturnBstr(std::u16string_view text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace platform::internal

using platform::internal::LocaleDataFor;
using platform::internal::ReturnBstr;

HRESULT VarBstrFromR8(DOUBLE in, LCID lcid, ULONG, BSTR* out) {
  return ReturnBstr(platform::internal::FormatReal(in, 15, LocaleDataFor(lcid).decimal), out);
}

HRESULT VarBstrFromR4(FLOAT in, LCID lcid, ULONG, BSTR* out) {
  return ReturnBstr(platform::internal::FormatReal(in, 7, LocaleDataFor(lcid).decimal), out);
}

HRESULT VarBstrFromI4(LONG in, LCID, ULONG, BSTR* out) {
  return ReturnBstr(platform::internal::FormatSigned(in), out);
}

HRESULT VarBstrFromI8(LONG64 in, LCID, ULONG, BSTR* out) {
  return ReturnBstr(platform::internal::FormatSigned(in), out);
}

HRESULT VarBstrFromCy(CY in, LCID lcid, ULONG, BSTR* out) {
  return ReturnBstr(platform::internal::FormatCurrency(in.int64, LocaleDataFor(lcid).decimal), out);
}

HRESULT VarBstrFromBool(VARIANT_BOOL in, LCID lcid, ULONG flags, BSTR* out) {
  // The English words, or with VAR_LOCALBOOL the locale's own.
  if (!(flags & VAR_LOCALBOOL)) return ReturnBstr(in ? u"True" : u"False", out);
  const platform::internal::LocaleData& locale = LocaleDataFor(lcid);
  return ReturnBstr(in ? locale.trueWord : locale.falseWord, out);
}

// The texts of numbers as the automation conversions write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform::internal {

// At most `significantDigits` significant digits, trailing zeros dropped;
// scientific form ("1E+15", "1.5E-12") when the decimal exponent is below -11
// or at least `significantDigits`. Negative zero is "0".
std::u16string FormatReal(double value, int significantDigits, char16_t decimalSeparator);

std::u16string FormatSigned(int64_t value);
std::u16string FormatUnsigned(uint64_t value);

// Room for the longest integer text: "-9223372036854775808".
constexpr size_t kIntegerTextSize = 20;
using IntegerTextBuffer = char16_t[kIntegerTextSize];

// The text of an integer (the same as FormatSigned and FormatUnsigned) in a
// buffer of the caller's, without allocating.
std::u16string_view WriteSigned(int64_t value, IntegerTextBuffer& buffer);
std::u16string_view WriteUnsigned(uint64_t value, IntegerTextBuffer& buffer);

// Currency: up to four decimals, trailing zeros dropped.
std::u16string FormatCurrency(int64_t scaled, char16_t decimalSeparator);

// Allocates the text as a new BSTR in *out (E_INVALIDARG for a null out,
// E_OUTOFMEMORY when allocation fails).
HRESULT ReturnBstr(std::u16string_view text, BSTR* out);

}  // namespace platform::internal

// The readers and writers of number texts over arbitrary texts: Val, the
// platform's VarParseNumFromStr and VarNumFromParseNum, and Format. Beyond
// not crashing: Val agrees with a plain decimal or hexadecimal reading where
// the text is one, the parser never reports more digits or characters than it
// had, nor flags it was not allowed, and Format gives the same bounded text
// every time.
// Libraries: runtime_library runtime_core
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/locale.h"
#include "runtime/core/Val.h"
#include "runtime/library/NumberText.h"

namespace {

constexpr LCID kLocales[] = {0x0409, 0x040C, 0x0407, 0x0C0A, 0x0415};

bool IsIgnoredSpace(char16_t c) {
  return c == u'\r' || c == u'\n' || c == u' ' || c == u'\t' || c == u'\u3000';
}

std::u16string WithoutSpaces(std::u16string_view text) {
  std::u16string kept;
  for (char16_t c : text) {
    if (!IsIgnoredSpace(c)) kept += c;
  }
  return kept;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The value of a whole text of the form [+-]digits[.digits] with at most 15
// significant digits, as the C library reads it; nothing for other texts.
std::optional<double> PlainDecimal(std::u16string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  const size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i]))
    ++i;
  if (i == digitsStart) return std::nullopt;
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i;
  }
  if (i != text.size()) return std::nullopt;
  std::string ascii(text.begin(), text.end());
  size_t significant = 0;
  bool leading = true;
  for (char c : ascii) {
    if (c < '0' || c > '9') continue;
    if (c != '0') leading = false;
    if (!leading) ++significant;
  }
  if (significant > 15) return std::nullopt;
  return std::strtod(ascii.c_str(), nullptr);
}

// The value of a whole text "&H" with one to four hexadecimal digits or "&O"
// with octal digits up to 65535, read as Val reads 16-bit integers.
std::optional<double> PlainHexOrOctal(std::u16string_view text) {
  if (text.size() < 3 || text[0] != u'&') return std::nullopt;
  const char16_t kind = text[1];
  const int base = kind == u'H' || kind == u'h' ? 16 : kind == u'O' || kind == u'o' ? 8 : 0;
  if (base == 0 || text.size() > (base == 16 ? 6u : 8u)) return std::nullopt;
  long value = 0;
  for (char16_t c : text.substr(2)) {
    int digit = -1;
    if (IsDigit(c)) digit = c - u'0';
    if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  if (value > 65535) return std::nullopt;
  return static_cast<double>(value >= 32768 ? value - 65536 : value);
}

void CheckVal(const std::u16string& text) {
  const Bstr source(text);
  DOUBLE value = -1;
  const HRESULT hr = rt::ValOfText(source.get(), &value);
  FUZZ_CHECK(hr == S_OK || hr == DISP_E_OVERFLOW || hr == DISP_E_TYPEMISMATCH, "Val's status");
  if (hr != S_OK) return;
  FUZZ_CHECK(std::isfinite(value), "Val gives a finite number");
  const std::u16string plain = WithoutSpaces(text);
  if (auto expected = PlainDecimal(plain)) {
    const double tolerance = std::fabs(*expected) * 1e-15;
    FUZZ_CHECK(std::fabs(value - *expected) <= tolerance, "Val of a plain decimal");
  }
  if (auto expected = PlainHexOrOctal(plain)) {
    FUZZ_CHECK(value == *expected, "Val of a 16-bit hexadecimal or octal number");
  }
}

void CheckParse(const std::u16string& text, LCID lcid, ULONG flags, int room, ULONG vtBits) {
  // Exactly `room` digits on the heap, so a write past them is caught.
  std::vector<BYTE> digits(static_cast<size_t>(room));
  NUMPARSE parse{};
  parse.cDig = room;
  parse.dwInFlags = flags;
  const HRESULT hr = VarParseNumFromStr(text.c_str(), lcid, 0, &parse, digits.data());
  if (FAILED(hr)) {
    FUZZ_CHECK(hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW || hr == E_INVALIDARG,
               "the parser's failure");
    return;
  }
  FUZZ_CHECK(hr == S_OK, "the parser's success");
  FUZZ_CHECK(parse.cchUsed > 0 && static_cast<size_t>(parse.cchUsed) <= text.size(),
             "characters used");
  FUZZ_CHECK(parse.cDig >= 0 && parse.cDig <= room, "digits written");
  FUZZ_CHECK((parse.dwOutFlags & ~(flags | NUMPRS_NEG | NUMPRS_INEXACT)) == 0,
             "only allowed flags are found");
  FUZZ_CHECK(parse.nBaseShift == 0 || parse.nBaseShift == 3 || parse.nBaseShift == 4, "the base");
  const int base = parse.nBaseShift == 0 ? 10 : 1 << parse.nBaseShift;
  for (int i = 0; i < parse.cDig; ++i)
    FUZZ_CHECK(digits[static_cast<size_t>(i)] < base, "a digit of the base");

  Variant number;
  const HRESULT converted = VarNumFromParseNum(&parse, digits.data(), vtBits, number.out());
  if (FAILED(converted)) {
    FUZZ_CHECK(converted == DISP_E_OVERFLOW || converted == DISP_E_TYPEMISMATCH ||
                   converted == E_INVALIDARG,
               "the conversion's failure");
    return;
  }
  FUZZ_CHECK(number.vt < 32 && (vtBits & (1u << number.vt)) != 0, "a type that was asked for");
}

Variant ValueOf(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0:
      return Variant::R8(input.ConsumeFloatingPoint<double>());
    case 1:
      return Variant::I4(input.ConsumeIntegral<int32_t>());
    case 2: {
      Variant date;
      date.vt = VT_DATE;
      date.date = input.ConsumeFloatingPointInRange(-657434.0, 2958465.99);
      return date;
    }
    case 3: {
      Variant currency;
      currency.vt = VT_CY;
      currency.cyVal.int64 = input.ConsumeIntegral<int64_t>();
      return currency;
    }
    case 4:
      return Variant::Str(fuzz_support::TextOf(input.ConsumeRandomLengthString(40)));
    case 5:
      return Variant::Bool(input.ConsumeBool());
    case 6:
      return Variant::Null();
    default:
      return Variant();
  }
}

void CheckFormat(FuzzedDataProvider& input) {
  const Variant value = ValueOf(input);
  const int firstDay = input.ConsumeIntegralInRange(0, 7);
  const int firstWeek = input.ConsumeIntegralInRange(0, 3);
  const std::u16string format = fuzz_support::TextOf(input.ConsumeRemainingBytesAsString());
  const Variant formatText = Variant::Str(format);
  BSTR first = nullptr;
  const HRESULT hr = rt::Format(value, formatText, firstDay, firstWeek, &first);
  const Bstr firstText = Bstr::Adopt(first);
  BSTR second = nullptr;
  const HRESULT again = rt::Format(value, formatText, firstDay, firstWeek, &second);
  const Bstr secondText = Bstr::Adopt(second);
  FUZZ_CHECK(hr == again, "Format's status is the same every time");
  if (FAILED(hr)) return;
  FUZZ_CHECK(firstText.view() == secondText.view(), "Format's text is the same every time");
  // Each format character writes a bounded piece (a date or number name, a
  // digit group); a number's digits add at most a few hundred.
  FUZZ_CHECK(firstText.view().size() <= 512 + 64 * format.size(), "Format's text is bounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
      CheckVal(fuzz_support::TextOf(input.ConsumeRemainingBytesAsString()));
      break;
    case 1: {
      const LCID lcid = input.PickValueInArray(kLocales);
      const ULONG flags = input.ConsumeIntegral<ULONG>() & (NUMPRS_STD);
      const int room = input.ConsumeIntegralInRange(0, 40);
      const ULONG vtBits = input.ConsumeIntegral<ULONG>() &
                           (VTBIT_I1 | VTBIT_UI1 | VTBIT_I2 | VTBIT_UI2 | VTBIT_I4 | VTBIT_UI4 |
                            VTBIT_I8 | VTBIT_UI8 | VTBIT_R4 | VTBIT_R8 | VTBIT_CY | VTBIT_DECIMAL);
      CheckParse(fuzz_support::TextOf(input.ConsumeRemainingBytesAsString()), lcid, flags, room,
                 vtBits);
      break;
    }
    default: {
      const platform::ScopedUserLocale locale(input.PickValueInArray(kLocales));
      CheckFormat(input);
      break;
    }
  }
  return 0;
}

// Conversions between single scalar types: doubles and currency to integers
// (round half to even, overflow at the target's limits) and texts to numbers
// and Booleans under a locale.
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "internal/LocaleData.h"
#include "internal/NumberParsing.h"
#include "internal/Rounding.h"
#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::NumberFromText;
using platform::internal::RoundHalfEven;

template <typename T>
HRESULT IntegerFromReal(double in, T* out) {
  if (!out) return E_INVALIDARG;
  const double rounded = RoundHalfEven(in);
  // The upper limit is max + 1, exact in a double for every integer width.
  constexpr double lowest = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double beyond = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2.0;
  if (!(rounded >= lowest && rounded < beyond)) return DISP_E_OVERFLOW;
  *out = static_cast<T>(rounded);
  return S_OK;
}

// A number of one type read from a text; `read` takes it out of the variant.
template <typename T, typename Read>
HRESULT ScalarFromText(LPCOLESTR text, LCID lcid, ULONG flags, ULONG vtBit, T* out, Read read) {
  if (!out) return E_INVALIDARG;
  VARIANT value;
  HRESULT hr = NumberFromText(text, lcid, flags, vtBit, &value);
  if (SUCCEEDED(hr)) *out = read(value);
  return hr;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t a = text[i], b = word[i];
    if (a >= u'a' && a <= u'z') a = static_cast<char16_t>(a - u'a' + u'A');
    if (b >= u'a' && b <= u'z') b = static_cast<char16_t>(b - u'a' + u'A');
    if (a != b) return false;
  }
  return true;
}

}  // namespace

HRESULT VarUI1FromR8(DOUBLE in, BYTE* out) {
  return IntegerFromReal(in, out);
}

HRESULT VarI4FromR8(DOUBLE in, LONG* out) {
  return IntegerFromReal(in, out);
}

HRESULT VarI2FromR8(DOUBLE in, SHORT* out) {
  return IntegerFromReal(in, out);
}

HRESULT VarI8FromR8(DOUBLE in, LONG64* out) {
  return IntegerFromReal(in, out);
}

HRESULT VarI8FromCy(CY in, LONG64* out) {
  if (!out) return E_INVALIDARG;
  *out = platform::internal::DivideRoundHalfEven(in.int64, 10000);
  return S_OK;
}

HRESULT VarCyFromR8(DOUBLE in, CY* out) {
  if (!out) return E_INVALIDARG;
  const double scaled = RoundHalfEven(in * 10000.0);
  constexpr double limit = 9223372036854775808.0;  // 2^63
  if (!(scaled >= -limit && scaled < limit)) return DISP_E_OVERFLOW;
  out->int64 = static_cast<LONGLONG>(scaled);
  return S_OK;
}

HRESULT VarR8FromCy(CY in, DOUBLE* out) {
  if (!out) return E_INVALIDARG;
  *out = static_cast<double>(in.int64) / 10000.0;
  return S_OK;
}

HRESULT VarI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, CHAR* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_I1, out, [](const VARIANT& v) { return v.cVal; });
}

HRESULT VarUI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, BYTE* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_UI1, out, [](const VARIANT& v) { return v.bVal; });
}

HRESULT VarUI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONG* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_UI4, out,
                        [](const VARIANT& v) { return v.ulVal; });
}

HRESULT VarUI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONG64* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_UI8, out,
                        [](const VARIANT& v) { return v.ullVal; });
}

HRESULT VarI2FromStr(LPCOLESTR text, LCID lcid, ULONG flags, SHORT* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_I2, out, [](const VARIANT& v) { return v.iVal; });
}

HRESULT VarI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONG* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_I4, out, [](const VARIANT& v) { return v.lVal; });
}

HRESULT VarI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONG64* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_I8, out, [](const VARIANT& v) { return v.llVal; });
}

HRESULT VarR8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, DOUBLE* out) {
  return ScalarFromText(text, lcid, flags, VTBIT_R8, out,
                        [](const VARIANT& v) { return v.dblVal; });
}

namespace {

// The Boolean a word names: the English words and their "#TRUE#" and
// "#FALSE#" forms always, the locale's own with VAR_LOCALBOOL; any case.
std::optional<bool> TruthOfWord(std::u16string_view text, LCID lcid, ULONG flags) {
  if (EqualsIgnoringCase(text, u"True") || EqualsIgnoringCase(text, u"#TRUE#")) return true;
  if (EqualsIgnoringCase(text, u"False") || EqualsIgnoringCase(text, u"#FALSE#")) return false;
  if (!(flags & VAR_LOCALBOOL)) return std::nullopt;
  // The locale's words may hold letters beyond ASCII ("Fa\u0142sz").
  auto sameWord = [&](std::u16string_view word) {
    return CompareStringW(lcid, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                          word.data(), static_cast<int>(word.size())) == CSTR_EQUAL;
  };
  const platform::internal::LocaleData& locale = platform::internal::LocaleDataFor(lcid);
  if (sameWord(locale.trueWord)) return true;
  if (sameWord(locale.falseWord)) return false;
  return std::nullopt;
}

}  // namespace

HRESULT VarBoolFromStr(LPCOLESTR text, LCID lcid, ULONG flags, VARIANT_BOOL* out) {
  if (!out) return E_INVALIDARG;
  if (!text) return DISP_E_TYPEMISMATCH;
  // Anything but a word must be a number, and any number but zero is true.
  if (const std::optional<bool> truth = TruthOfWord(text, lcid, flags)) {
    *out = *truth ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  DOUBLE number = 0;
  HRESULT hr = VarR8FromStr(text, lcid, flags & ~VAR_LOCALBOOL, &number);
  if (FAILED(hr)) return hr;
  *out = number != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

#include "runtime/library/NumberText.h"

#include <iterator>
#include <optional>
#include <string>

#include "runtime/core/Status.h"
#include "runtime/library/LocaleValues.h"
#include "runtime/library/internal/LibrarySupport.h"
#include "runtime/library/internal/NormalizedArgument.h"

namespace rt {
namespace {

using internal::NormalizedArgument;

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// Str's text of a number: a leading space unless negative, and a full stop
// in place of the locale's decimal separator.
std::u16string NumberWithPoint(std::u16string_view converted) {
  std::u16string text;
  text.reserve(converted.size() + 1);
  if (converted.empty() || converted.front() != u'-') text.push_back(u' ');
  text.append(converted);
  const char16_t separator = DecimalSeparator();
  if (separator == u'.') return text;
  for (char16_t& c : text) {
    if (c == separator) c = u'.';
  }
  return text;
}

// Str's text of an integer type: its digits after a space unless negative,
// written directly. The conversion to text would give the same digits, and
// a decimal separator cannot appear among them unless it is a digit, a sign
// or a space; for such a separator the general path replaces it. Nothing for
// other types.
std::optional<HRESULT> IntegerText(const VARIANT& value, BSTR* result) {
  LONG64 number = 0;
  switch (value.vt) {
    case VT_I1:
      number = value.cVal;
      break;
    case VT_UI1:
      number = value.bVal;
      break;
    case VT_I2:
      number = value.iVal;
      break;
    case VT_UI2:
      number = value.uiVal;
      break;
    case VT_I4:
    case VT_INT:
      number = value.lVal;
      break;
    case VT_UI4:
    case VT_UINT:
      number = value.ulVal;
      break;
    case VT_I8:
      number = value.llVal;
      break;
    default:
      return std::nullopt;
  }
  const char16_t separator = DecimalSeparator();
  if (separator == u' ' || separator == u'-' || (separator >= u'0' && separator <= u'9')) {
    return std::nullopt;
  }
  // A space or a minus sign, then up to 19 digits written from the right.
  char16_t text[20];
  char16_t* const end = std::end(text);
  char16_t* first = end;
  auto magnitude = number < 0 ? 0 - static_cast<ULONG64>(number) : static_cast<ULONG64>(number);
  do {
    *--first = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  *--first = number < 0 ? u'-' : u' ';
  return internal::AllocateText({first, static_cast<size_t>(end - first)}, result);
}

// The value Str converts to text: a text is read as a double first.
HRESULT StrSource(const NormalizedArgument& argument, Variant* number, const VARIANT** source) {
  *source = &argument.value();
  if (argument.type() != VT_BSTR) return S_OK;
  if (HRESULT hr = argument.changeType(VT_R8, internal::kToNumberFlags, number); FAILED(hr)) {
    return hr;
  }
  *source = number;
  return S_OK;
}

// The value as a signed 64-bit integer; a fraction is rounded by the
// conversion.
HRESULT HexInteger(const NormalizedArgument& argument, LONG64* out) {
  if (argument.type() == VT_CY) return VarI8FromCy(argument.value().cyVal, out);
  Variant converted;
  if (HRESULT hr = argument.changeType(VT_I8, VARIANT_ALPHABOOL, &converted); FAILED(hr)) {
    return hr;
  }
  *out = converted.llVal;
  return S_OK;
}

// Digits a negative value of the type is written with.
int TwosComplementDigits(VARTYPE type) {
  if (type == VT_I2) return 4;
  if (type == VT_I4) return 8;
  return 16;
}

std::u16string HexDigitsOf(LONG64 value, VARTYPE type) {
  if (value == 0) return u"0";
  auto bits = static_cast<ULONG64>(value);
  int digits = 0;
  if (value < 0) {
    digits = TwosComplementDigits(type);
  } else {
    for (ULONG64 rest = bits; rest != 0; rest >>= 4)
      ++digits;
  }
  std::u16string text(static_cast<size_t>(digits), u'0');
  for (int i = digits - 1; i >= 0; --i, bits >>= 4)
    text[static_cast<size_t>(i)] = kHexDigits[bits & 0xF];
  return text;
}

// Hex of a normalised value that is not Null.
HRESULT HexOf(const NormalizedArgument& argument, BSTR* result) {
  LONG64 value = 0;
  if (HRESULT hr = HexInteger(argument, &value); FAILED(hr)) return hr;
  return internal::AllocateText(HexDigitsOf(value, argument.type()), result);
}

// The numbers, dates, Booleans, error codes, Empty and Null: values that own
// nothing, so a copy of them cannot fail.
bool CopiesWithoutFail(VARTYPE type) {
  switch (type & ~VT_RESERVED) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_ERROR:
    case VT_BOOL:
    case VT_DECIMAL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
      return true;
    default:
      return false;
  }
}

HRESULT FormatText(const VARIANT& format, NormalizedArgument& argument, std::u16string_view* text) {
  if (internal::IsMissing(format)) {
    *text = {};
    return S_OK;
  }
  if (HRESULT hr = argument.normalize(format); FAILED(hr)) return hr;
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  return argument.text(text);
}

}  // namespace

HRESULT Str(const VARIANT& value, BSTR* result) {
  *result = nullptr;
  NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(value); FAILED(hr)) return hr;
  if (argument.type() == VT_EMPTY) return internal::AllocateText(u" 0", result);
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  if (std::optional<HRESULT> written = IntegerText(argument.value(), result)) return *written;
  Variant number;
  const VARIANT* source = nullptr;
  if (HRESULT hr = StrSource(argument, &number, &source); FAILED(hr)) return hr;
  Variant converted;
  if (HRESULT hr = VariantChangeTypeEx(&converted, source, internal::kConversionLocale,
                                       internal::kToTextFlags, VT_BSTR);
      FAILED(hr)) {
    return hr;
  }
  const std::u16string_view text = internal::ViewOf(converted.bstrVal);
  if (argument.type() == VT_DATE || argument.type() == VT_BOOL) {
    return internal::AllocateText(text, result);
  }
  return internal::AllocateText(NumberWithPoint(text), result);
}

HRESULT HexText(const VARIANT& value, BSTR* result) {
  *result = nullptr;
  NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(value); FAILED(hr)) return hr;
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  return HexOf(argument, result);
}

HRESULT HexVariant(const VARIANT& value, VARIANT* result) {
  VariantInit(result);
  NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(value); FAILED(hr)) return hr;
  if (argument.isNull()) {
    result->vt = VT_NULL;
    return S_OK;
  }
  BSTR text = nullptr;
  if (HRESULT hr = HexOf(argument, &text); FAILED(hr)) return hr;
  result->vt = VT_BSTR;
  result->bstrVal = text;
  return S_OK;
}

HRESULT Format(const VARIANT& value, const VARIANT& format, int firstDayOfWeek, int firstWeekOfYear,
               BSTR* result) {
  *result = nullptr;
  if (firstDayOfWeek == 0) firstDayOfWeek = FirstDayOfWeek();
  if (firstWeekOfYear == 0) firstWeekOfYear = FirstWeekOfYear();
  NormalizedArgument subject;
  if (HRESULT hr = subject.normalize(value); FAILED(hr)) return hr;
  if (subject.isNull()) return internal::AllocateText({}, result);
  NormalizedArgument formatArgument;
  std::u16string_view formatView;
  if (HRESULT hr = FormatText(format, formatArgument, &formatView); FAILED(hr)) return hr;
  // VarFormat only reads its value and format, though its parameters are not
  // const. A value whose copy could fail (a text, an array, an unknown type)
  // is still copied first, so that it fails as the copy does. The view ends
  // at the terminator of the text it shows, or is null for a missing format.
  std::optional<Variant> copy;
  const VARIANT* subjectValue = &subject.value();
  if (!CopiesWithoutFail(subject.type())) {
    if (HRESULT hr = VariantCopy(&copy.emplace(), subjectValue); FAILED(hr)) return hr;
    subjectValue = &*copy;
  }
  return VarFormat(const_cast<VARIANT*>(subjectValue), const_cast<LPOLESTR>(formatView.data()),
                   firstDayOfWeek, firstWeekOfYear, 0, result);
}

}  // namespace rt

// VarFormat: formats a value by the format language of the automation
// services, in the user's locale. VarTokenizeFormatString keeps a format for
// VarFormatFromTokens, which formats in the locale it is given.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "internal/DatePattern.h"
#include "internal/DecimalNumber.h"
#include "internal/FormatSections.h"
#include "internal/LocaleData.h"
#include "internal/ParsedFormat.h"
#include "internal/TextPattern.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::DatePattern;
using platform::internal::DecimalNumber;
using platform::internal::LocaleData;
using platform::internal::ParsedFormat;
using platform::internal::SectionKind;
using platform::internal::TextPattern;

// Significant digits the platform's conversions carry; integers and currency
// amounts keep all of theirs.
constexpr int kDoubleDigits = 15;
constexpr int kFloatDigits = 7;
constexpr int kAllDigits = 40;

struct Value {
  enum class Kind { Empty, Null, Number, Date, Boolean, Text };
  Kind kind = Kind::Empty;
  DecimalNumber number;  // the numeric value (a date's serial, -1 for True)
  int precision = kAllDigits;
  DATE date = 0;  // the value as a date
  std::u16string text;
};

struct Context {
  const LocaleData& locale;
  int firstDay;   // 1 Sunday .. 7 Saturday
  int firstWeek;  // 1 .. 3
};

using Text = std::optional<std::u16string>;  // no value: a null result

// Makes *out the number, read as a value of that kind.
void setNumber(DecimalNumber number, int precision, double asDouble, Value* out,
               Value::Kind kind = Value::Kind::Number) {
  out->kind = kind;
  out->number = std::move(number);
  out->precision = precision;
  out->date = asDouble;
}

void setDouble(double x, int precision, Value* out) {
  setNumber(DecimalNumber::FromDouble(x, precision), precision, x, out);
}

void setInteger(int64_t x, Value* out, Value::Kind kind = Value::Kind::Number) {
  setNumber(DecimalNumber::FromInteger(x), kAllDigits, static_cast<double>(x), out, kind);
}

void setDate(DATE date, Value* out) {
  setNumber(DecimalNumber::FromDouble(date, kDoubleDigits), kDoubleDigits, date, out,
            Value::Kind::Date);
}

template <typename T>
T load(const void* data) {
  T x;
  std::memcpy(&x, data, sizeof x);
  return x;
}

// An object stands for its default value, read as text.
HRESULT readDefaultValue(const VARIANT& object, Value* out) {
  Variant text;
  const HRESULT hr =
      VariantChangeTypeEx(&text, &object, LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, VT_BSTR);
  if (FAILED(hr)) return hr;
  out->kind = Value::Kind::Text;
  out->text.assign(text.bstrVal ? text.bstrVal : u"", SysStringLen(text.bstrVal));
  return S_OK;
}

// Reads a variant, following references. Fails for types without a format.
HRESULT readValue(const VARIANT& v, Value* out) {
  if (v.vt & VT_ARRAY) return DISP_E_TYPEMISMATCH;
  const bool byRef = (v.vt & VT_BYREF) != 0;
  const VARTYPE type = v.vt & VT_TYPEMASK;
  if (byRef && !v.byref) return E_INVALIDARG;
  if (byRef && type == VT_VARIANT) return readValue(*v.pvarVal, out);
  const void* data = byRef ? v.byref : static_cast<const void*>(&v.llVal);
  switch (type) {
    case VT_EMPTY:
      setInteger(0, out, Value::Kind::Empty);
      return S_OK;
    case VT_NULL:
      out->kind = Value::Kind::Null;
      return S_OK;
    case VT_I1:
      setInteger(load<int8_t>(data), out);
      return S_OK;
    case VT_UI1:
      setInteger(load<uint8_t>(data), out);
      return S_OK;
    case VT_I2:
      setInteger(load<int16_t>(data), out);
      return S_OK;
    case VT_UI2:
      setInteger(load<uint16_t>(data), out);
      return S_OK;
    case VT_I4:
    case VT_INT:
      setInteger(load<int32_t>(data), out);
      return S_OK;
    case VT_UI4:
    case VT_UINT:
      setInteger(load<uint32_t>(data), out);
      return S_OK;
    case VT_I8:
      setInteger(load<int64_t>(data), out);
      return S_OK;
    case VT_UI8: {
      const uint64_t x = load<uint64_t>(data);
      setNumber(DecimalNumber::FromUnsigned(x), kAllDigits, static_cast<double>(x), out);
      return S_OK;
    }
    case VT_R4:
      setDouble(load<float>(data), kFloatDigits, out);
      return S_OK;
    case VT_R8:
      setDouble(load<double>(data), kDoubleDigits, out);
      return S_OK;
    case VT_CY: {
      const int64_t x = load<CY>(data).int64;
      setNumber(DecimalNumber::FromScaled(x, 4), kAllDigits, x / 10000.0, out);
      return S_OK;
    }
    case VT_DATE:
      setDate(load<DATE>(data), out);
      return S_OK;
    case VT_BOOL:
      setInteger(load<VARIANT_BOOL>(data) != VARIANT_FALSE ? -1 : 0, out, Value::Kind::Boolean);
      return S_OK;
    case VT_BSTR: {
      const BSTR text = load<BSTR>(data);
      out->kind = Value::Kind::Text;
      out->text.assign(text ? text : u"", SysStringLen(text));
      return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return readDefaultValue(v, out);
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// A text that reads as a number or a date, as that value.
std::optional<Value> textAsValue(const std::u16string& text) {
  const Variant source = Variant::Str(text);
  Variant converted;
  Value value;
  if (SUCCEEDED(VariantChangeTypeEx(&converted, &source, LOCALE_USER_DEFAULT, 0, VT_R8))) {
    setDouble(converted.dblVal, kDoubleDigits, &value);
    return value;
  }
  if (SUCCEEDED(VariantChangeTypeEx(&converted, &source, LOCALE_USER_DEFAULT, 0, VT_DATE))) {
    setDate(converted.date, &value);
    return value;
  }
  return std::nullopt;
}

HRESULT formatDate(const DatePattern& pattern, const Value& value, const Context& context,
                   Text* out) {
  *out = pattern.Format(value.date, context.locale, context.firstDay, context.firstWeek);
  return *out ? S_OK : E_INVALIDARG;
}

// The value's own text, as the empty format shows it.
HRESULT plainText(const Value& value, const Context& context, Text* out) {
  switch (value.kind) {
    case Value::Kind::Empty:
    case Value::Kind::Null:
      *out = u"";
      return S_OK;
    case Value::Kind::Number:
      *out = value.number.GeneralText(value.precision, context.locale.decimal);
      return S_OK;
    case Value::Kind::Date:
      return formatDate(DatePattern::General(value.date, context.locale), value, context, out);
    case Value::Kind::Boolean:
      *out = value.number.isZero() ? u"False" : u"True";
      return S_OK;
    case Value::Kind::Text:
      *out = value.text;
      return S_OK;
  }
  return S_OK;
}

// Picks the section for the value: the negative section for values below
// zero, the zero section for zero, else the first; a missing or empty
// section falls back to the first, which then shows a minus sign itself.
HRESULT formatSections(const Value& value, const ParsedFormat& format, const Context& context,
                       Text* out) {
  size_t index = 0;
  bool minus = false;
  if (value.number.isZero() && !format.section(2).empty()) {
    index = 2;
  } else if (value.number.negative()) {
    index = format.section(1).empty() ? 0 : 1;
    minus = index == 0;
  }
  const std::u16string_view section = format.section(index);
  if (section.empty()) return plainText(value, context, out);
  switch (format.kind(index)) {
    case SectionKind::Text: {
      Text plain;
      const HRESULT hr = plainText(value, context, &plain);
      if (SUCCEEDED(hr)) *out = TextPattern(section).Format(*plain);
      return hr;
    }
    case SectionKind::Date:
      return formatDate(DatePattern::FromFormat(section, context.locale), value, context, out);
    case SectionKind::Number:
      *out = format.numberPattern(index).Format(value.number, context.locale);
      if (minus) (*out)->insert(0, 1, u'-');
      return S_OK;
  }
  return S_OK;
}

// A string value: text sections shape it; otherwise a text that reads as a
// number or date is formatted as one, and any other text stays as it is.
HRESULT formatText(const Value& value, const ParsedFormat& format, const Context& context,
                   Text* out) {
  if (format.kind(0) == SectionKind::Text) {
    const bool useEmptySection = value.text.empty() && !format.section(1).empty();
    *out = TextPattern(format.section(useEmptySection ? 1 : 0)).Format(value.text);
    return S_OK;
  }
  if (std::optional<Value> converted = textAsValue(value.text)) {
    return formatSections(*converted, format, context, out);
  }
  *out = value.text;
  return S_OK;
}

HRESULT formatPattern(const Value& value, std::u16string_view format, const Context& context,
                      Text* out) {
  const std::shared_ptr<const ParsedFormat> parsed = ParsedFormat::Of(format);
  if (value.kind == Value::Kind::Text) return formatText(value, *parsed, context, out);
  return formatSections(value, *parsed, context, out);
}

enum class Named {
  GeneralNumber,
  Currency,
  Fixed,
  Standard,
  Percent,
  Scientific,
  YesNo,
  TrueFalse,
  OnOff,
  GeneralDate,
  LongDate,
  MediumDate,
  ShortDate,
  LongTime,
  MediumTime,
  ShortTime,
};

std::optional<Named> namedFormat(std::u16string_view format) {
  struct Entry {
    std::u16string_view name;
    Named named;
  };
  static constexpr Entry kNames[] = {
      {u"general number", Named::GeneralNumber},
      {u"currency", Named::Currency},
      {u"fixed", Named::Fixed},
      {u"standard", Named::Standard},
      {u"percent", Named::Percent},
      {u"scientific", Named::Scientific},
      {u"yes/no", Named::YesNo},
      {u"true/false", Named::TrueFalse},
      {u"on/off", Named::OnOff},
      {u"general date", Named::GeneralDate},
      {u"long date", Named::LongDate},
      {u"medium date", Named::MediumDate},
      {u"short date", Named::ShortDate},
      {u"long time", Named::LongTime},
      {u"medium time", Named::MediumTime},
      {u"short time", Named::ShortTime},
  };
  // Every name begins with a letter; patterns seldom do.
  const int first = format.empty() ? 0 : (format[0] | 0x20);
  if (first < u'a' || first > u'z') return std::nullopt;
  for (const Entry& entry : kNames) {
    if (entry.name.size() != format.size()) continue;
    bool same = true;
    for (size_t i = 0; i < format.size() && same; ++i) {
      const char16_t c = format[i];
      same = (c >= u'A' && c <= u'Z' ? c + 0x20 : c) == entry.name[i];
    }
    if (same) return entry.named;
  }
  return std::nullopt;
}

// The locale's currency format as a two-section pattern.
std::u16string currencyPattern(const LocaleData& locale) {
  static constexpr std::u16string_view kPositive[] = {u"$n", u"n$", u"$ n", u"n $"};
  static constexpr std::u16string_view kNegative[] = {
      u"($n)", u"-$n",  u"$-n",  u"$n-",  u"(n$)", u"-n$",  u"n-$",   u"n$-",
      u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
  std::u16string number = u"#,##0";
  if (locale.currencyDigits > 0) number += u"." + std::u16string(locale.currencyDigits, u'0');
  const std::u16string symbol = u"\"" + std::u16string(locale.currency) + u"\"";
  auto expand = [&](std::u16string_view shape) {
    std::u16string pattern;
    for (char16_t c : shape) {
      if (c == u'$') {
        pattern += symbol;
      } else if (c == u'n') {
        pattern += number;
      } else {
        pattern.push_back(c);
      }
    }
    return pattern;
  };
  return expand(kPositive[locale.currencyPositive & 3]) + u";" +
         expand(kNegative[locale.currencyNegative & 15]);
}

HRESULT formatTruth(const Value& value, std::u16string_view yes, std::u16string_view no,
                    Text* out) {
  *out = std::u16string(value.number.isZero() ? no : yes);
  return S_OK;
}

HRESULT formatNamed(Named named, Value value, const Context& context, Text* out) {
  if (value.kind == Value::Kind::Text) {
    std::optional<Value> converted = textAsValue(value.text);
    if (!converted) {
      *out = value.text;
      return S_OK;
    }
    value = *converted;
  }
  const LocaleData& locale = context.locale;
  switch (named) {
    case Named::GeneralNumber:
      *out = value.number.GeneralText(value.precision, locale.decimal);
      return S_OK;
    case Named::Currency:
      return formatPattern(value, currencyPattern(locale), context, out);
    case Named::Fixed:
      return formatPattern(value, u"0.00", context, out);
    case Named::Standard:
      return formatPattern(value, u"#,##0.00", context, out);
    case Named::Percent:
      return formatPattern(value, u"0.00%", context, out);
    case Named::Scientific:
      return formatPattern(value, u"0.00E+00", context, out);
    case Named::YesNo:
      return formatTruth(value, u"Yes", u"No", out);
    case Named::TrueFalse:
      return formatTruth(value, u"True", u"False", out);
    case Named::OnOff:
      return formatTruth(value, u"On", u"Off", out);
    case Named::GeneralDate:
      return formatDate(DatePattern::General(value.date, locale), value, context, out);
    case Named::LongDate:
      return formatDate(DatePattern::FromPicture(locale.longDate, locale), value, context, out);
    case Named::MediumDate:
      return formatDate(DatePattern::FromFormat(u"dd-mmm-yy", locale), value, context, out);
    case Named::ShortDate:
      return formatDate(DatePattern::FromPicture(locale.shortDate, locale), value, context, out);
    case Named::LongTime:
      return formatDate(DatePattern::FromPicture(locale.timeFormat, locale), value, context, out);
    case Named::MediumTime:
      return formatDate(DatePattern::FromFormat(u"hh:mm AMPM", locale), value, context, out);
    case Named::ShortTime:
      return formatDate(DatePattern::FromFormat(u"hh:mm", locale), value, context, out);
  }
  return S_OK;
}

// Null shows the fourth section, or nothing.
HRESULT formatNull(std::u16string_view format, const Context& context, Text* out) {
  const std::shared_ptr<const ParsedFormat> parsed = ParsedFormat::Of(format);
  if (parsed->sectionCount() < 4 || namedFormat(format)) {
    out->reset();
    return S_OK;
  }
  *out = parsed->numberPattern(3).Format(DecimalNumber(), context.locale);
  return S_OK;
}

HRESULT formatValue(const Value& value, std::u16string_view format, const Context& context,
                    Text* out) {
  if (value.kind == Value::Kind::Null) return formatNull(format, context, out);
  if (format.empty()) return plainText(value, context, out);
  if (std::optional<Named> named = namedFormat(format)) {
    return formatNamed(*named, value, context, out);
  }
  return formatPattern(value, format, context, out);
}

// The locale's first day (0 Monday .. 6 Sunday) as 1 Sunday .. 7 Saturday.
int localeFirstDay(const LocaleData& locale) {
  return (locale.firstDayOfWeek + 1) % 7 + 1;
}

// The locale's first week (0, 1, 2) as 1 (1 January), 3 (full week), 2 (four days).
int localeFirstWeek(const LocaleData& locale) {
  static constexpr int kWeeks[] = {1, 3, 2};
  return kWeeks[locale.firstWeekOfYear % 3];
}

// Formats value with format under lcid; the validated arguments of VarFormat.
HRESULT FormatUnder(LPVARIANT value, std::u16string_view format, int firstDay, int firstWeek,
                    LCID lcid, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!value || firstDay < 0 || firstDay > 7 || firstWeek < 0 || firstWeek > 3) {
    return E_INVALIDARG;
  }
  const LocaleData& locale = platform::internal::LocaleDataFor(lcid);
  const Context context{locale, firstDay ? firstDay : localeFirstDay(locale),
                        firstWeek ? firstWeek : localeFirstWeek(locale)};
  Value input;
  HRESULT hr = readValue(*value, &input);
  if (FAILED(hr)) return hr;
  Text text;
  hr = formatValue(input, format, context, &text);
  if (FAILED(hr) || !text) return hr;
  *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The token buffer: a signature, the first day and week, the length of the
// format text in characters, then the text itself.
constexpr uint32_t kTokenSignature = 0x4B4F5446;  // "FTOK"
constexpr size_t kTokenHeader = 4 + 1 + 1 + 4;

}  // namespace

HRESULT VarFormat(LPVARIANT value, LPOLESTR format, int firstDay, int firstWeek, ULONG /*flags*/,
                  BSTR* out) {
  return FormatUnder(value, format ? std::u16string_view(format) : std::u16string_view(), firstDay,
                     firstWeek, LOCALE_USER_DEFAULT, out);
}

HRESULT VarTokenizeFormatString(LPOLESTR pstrFormat, LPBYTE rgbTok, int cbTok, int iFirstDay,
                                int iFirstWeek, LCID /*lcid*/, int* pcbActual) {
  if (!rgbTok || cbTok < 0 || iFirstDay < 0 || iFirstDay > 7 || iFirstWeek < 0 || iFirstWeek > 3) {
    return E_INVALIDARG;
  }
  const std::u16string_view format = pstrFormat ? std::u16string_view(pstrFormat) : u"";
  const size_t needed = kTokenHeader + format.size() * sizeof(char16_t);
  if (needed > static_cast<size_t>(cbTok)) return DISP_E_BUFFERTOOSMALL;
  const auto length = static_cast<uint32_t>(format.size());
  std::memcpy(rgbTok, &kTokenSignature, 4);
  rgbTok[4] = static_cast<BYTE>(iFirstDay);
  rgbTok[5] = static_cast<BYTE>(iFirstWeek);
  std::memcpy(rgbTok + 6, &length, 4);
  if (length != 0) std::memcpy(rgbTok + kTokenHeader, format.data(), length * sizeof(char16_t));
  if (pcbActual) *pcbActual = static_cast<int>(needed);
  return S_OK;
}

HRESULT VarFormatFromTokens(LPVARIANT pvarIn, LPOLESTR /*pstrFormat*/, LPBYTE pbTokCur,
                            ULONG /*dwFlags*/, BSTR* pbstrOut, LCID lcid) {
  if (!pbstrOut) return E_INVALIDARG;
  *pbstrOut = nullptr;
  uint32_t signature = 0;
  if (pbTokCur) std::memcpy(&signature, pbTokCur, 4);
  if (!pbTokCur || signature != kTokenSignature) return E_INVALIDARG;
  uint32_t length = 0;
  std::memcpy(&length, pbTokCur + 6, 4);
  std::u16string format(length, u'\0');
  if (length != 0) std::memcpy(format.data(), pbTokCur + kTokenHeader, length * sizeof(char16_t));
  return FormatUnder(pvarIn, format, pbTokCur[4], pbTokCur[5], lcid, pbstrOut);
}

// GetLocaleInfoA and GetLocaleInfoW over the locale table.
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "internal/CodePage.h"
#include "internal/LocaleData.h"
#include "platform/kernel.h"

namespace {

using platform::internal::LocaleData;

constexpr LCTYPE kTypeFlags = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER;

struct LocaleValue {
  std::u16string text;
  bool numeric;  // may be asked for with LOCALE_RETURN_NUMBER
};

std::u16string decimalText(int value) {
  std::u16string text;
  for (char c : std::to_string(value))
    text.push_back(static_cast<char16_t>(c));
  return text;
}

std::u16string fourHexDigits(unsigned value) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text(4, u'0');
  for (int i = 3; i >= 0; --i, value >>= 4)
    text[i] = kDigits[value & 0xF];
  return text;
}

// The first of day, month and year in a date picture: 0 month, 1 day, 2 year.
// Day names (ddd, dddd) do not count.
int dateOrder(std::u16string_view picture) {
  for (size_t i = 0; i < picture.size(); ++i) {
    const char16_t c = picture[i];
    if (c == u'M') return 0;
    if (c == u'y') return 2;
    if (c != u'd') continue;
    size_t run = picture.find_first_not_of(u'd', i);
    if (run == std::u16string_view::npos) run = picture.size();
    if (run - i <= 2) return 1;
    i = run - 1;
  }
  return 0;
}

bool hasRun(std::u16string_view picture, std::u16string_view run) {
  return picture.find(run) != std::u16string_view::npos;
}

int flag(bool value) {
  return value ? 1 : 0;
}

std::optional<LocaleValue> nameValue(const LocaleData& d, LCTYPE type) {
  if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7) {
    return LocaleValue{d.names->days[type - LOCALE_SDAYNAME1], false};
  }
  if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7) {
    return LocaleValue{d.names->abbrevDays[type - LOCALE_SABBREVDAYNAME1], false};
  }
  if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12) {
    return LocaleValue{d.names->months[type - LOCALE_SMONTHNAME1], false};
  }
  if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12) {
    return LocaleValue{d.names->abbrevMonths[type - LOCALE_SABBREVMONTHNAME1], false};
  }
  return std::nullopt;
}

std::optional<LocaleValue> textValue(const LocaleData& d, LCTYPE type) {
  auto text = [](std::u16string_view s) { return LocaleValue{std::u16string(s), false}; };
  auto ch = [](char16_t c) { return LocaleValue{std::u16string(1, c), false}; };
  switch (type) {
    case LOCALE_SLANGUAGE:
      return text(d.displayName);
    case LOCALE_SENGLANGUAGE:
      return text(d.language);
    case LOCALE_SABBREVLANGNAME:
      return text(d.abbrevLanguage);
    case LOCALE_SNATIVELANGNAME:
      return text(d.nativeLanguage);
    case LOCALE_SCOUNTRY:
      return text(d.country);
    case LOCALE_SENGCOUNTRY:
      return text(d.country);
    case LOCALE_SABBREVCTRYNAME:
      return text(d.abbrevCountry);
    case LOCALE_SNATIVECTRYNAME:
      return text(d.nativeCountry);
    case LOCALE_SLIST:
      return ch(d.listSeparator);
    case LOCALE_SDECIMAL:
      return ch(d.decimal);
    case LOCALE_STHOUSAND:
      return ch(d.thousands);
    case LOCALE_SGROUPING:
      return text(d.grouping);
    case LOCALE_SNATIVEDIGITS:
      return text(u"0123456789");
    case LOCALE_SCURRENCY:
      return text(d.currency);
    case LOCALE_SINTLSYMBOL:
      return text(d.intlSymbol);
    case LOCALE_SMONDECIMALSEP:
      return ch(d.decimal);
    case LOCALE_SMONTHOUSANDSEP:
      return ch(d.thousands);
    case LOCALE_SMONGROUPING:
      return text(d.grouping);
    case LOCALE_SDATE:
      return ch(d.dateSeparator);
    case LOCALE_STIME:
      return ch(d.timeSeparator);
    case LOCALE_SSHORTDATE:
      return text(d.shortDate);
    case LOCALE_SLONGDATE:
      return text(d.longDate);
    case LOCALE_STIMEFORMAT:
      return text(d.timeFormat);
    case LOCALE_SSHORTTIME:
      return text(d.shortTime);
    case LOCALE_S1159:
      return text(d.am);
    case LOCALE_S2359:
      return text(d.pm);
    case LOCALE_SPOSITIVESIGN:
      return text(u"");
    case LOCALE_SNEGATIVESIGN:
      return text(u"-");
    case LOCALE_SISO639LANGNAME:
      return text(d.isoLanguage);
    case LOCALE_SISO3166CTRYNAME:
      return text(d.isoCountry);
    case LOCALE_SNAME: {
      std::u16string name;
      for (const char* p = d.name; *p; ++p)
        name.push_back(static_cast<char16_t>(*p));
      return LocaleValue{name, false};
    }
    default:
      return nameValue(d, type);
  }
}

std::optional<int> numberValue(const LocaleData& d, LCTYPE type) {
  switch (type) {
    case LOCALE_ICOUNTRY:
    case LOCALE_IDEFAULTCOUNTRY:
      return d.countryCode;
    case LOCALE_IDEFAULTCODEPAGE:
      return d.oemCodePage;
    case LOCALE_IDEFAULTANSICODEPAGE:
      return d.ansiCodePage;
    case LOCALE_IDEFAULTMACCODEPAGE:
      return 10000;
    case LOCALE_IMEASURE:
      return d.measure;
    case LOCALE_IDIGITS:
      return d.digits;
    case LOCALE_ILZERO:
      return d.leadingZero;
    case LOCALE_INEGNUMBER:
      return d.negativeNumber;
    case LOCALE_ICURRDIGITS:
    case LOCALE_IINTLCURRDIGITS:
      return d.currencyDigits;
    case LOCALE_ICURRENCY:
      return d.currencyPositive;
    case LOCALE_INEGCURR:
      return d.currencyNegative;
    case LOCALE_IDATE:
      return dateOrder(d.shortDate);
    case LOCALE_ILDATE:
      return dateOrder(d.longDate);
    case LOCALE_ITIME:
      return flag(hasRun(d.timeFormat, u"H"));
    case LOCALE_ICENTURY:
      return flag(hasRun(d.shortDate, u"yyyy"));
    case LOCALE_ITLZERO:
      return flag(hasRun(d.timeFormat, u"hh") || hasRun(d.timeFormat, u"HH"));
    case LOCALE_IDAYLZERO:
      return flag(hasRun(d.shortDate, u"dd"));
    case LOCALE_IMONLZERO:
      return flag(hasRun(d.shortDate, u"MM"));
    case LOCALE_IFIRSTDAYOFWEEK:
      return d.firstDayOfWeek;
    case LOCALE_IFIRSTWEEKOFYEAR:
      return d.firstWeekOfYear;
    default:
      return std::nullopt;
  }
}

// The value of one information type; null for a type this platform lacks.
std::optional<LocaleValue> localeValue(const LocaleData& d, LCTYPE type) {
  if (type == LOCALE_ILANGUAGE || type == LOCALE_IDEFAULTLANGUAGE) {
    return LocaleValue{fourHexDigits(d.lcid), true};
  }
  if (std::optional<int> number = numberValue(d, type)) {
    return LocaleValue{decimalText(*number), true};
  }
  return textValue(d, type);
}

DWORD numberOf(const LocaleValue& value, LCTYPE type) {
  type &= ~kTypeFlags;
  const int base = (type == LOCALE_ILANGUAGE || type == LOCALE_IDEFAULTLANGUAGE) ? 16 : 10;
  DWORD number = 0;
  for (char16_t c : value.text) {
    const int digit = c <= u'9' ? c - u'0' : c - u'a' + 10;
    number = number * base + static_cast<DWORD>(digit);
  }
  return number;
}

int fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// Looks a value up; on failure sets the last error and returns null.
std::optional<LocaleValue> lookUp(LCID lcid, LCTYPE type, bool bufferMissing, int size) {
  if (size < 0 || bufferMissing) {
    fail(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  const LocaleData* data = platform::internal::FindLocaleData(lcid);
  if (!data) {
    fail(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  std::optional<LocaleValue> value = localeValue(*data, type & ~kTypeFlags);
  if (!value) {
    fail(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  if ((type & LOCALE_RETURN_NUMBER) && !value->numeric) {
    fail(ERROR_INVALID_FLAGS);
    return std::nullopt;
  }
  return value;
}

// Copies units and a terminator, or reports the size needed (size 0).
template <typename Unit>
int deliverText(const std::basic_string<Unit>& text, Unit* data, int size) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(data, text.c_str(), needed * sizeof(Unit));
  return needed;
}

// A number is written as a 4-byte value: 2 characters wide, or 4 bytes.
template <typename Unit>
int deliverNumber(DWORD number, Unit* data, int size) {
  constexpr int kUnits = static_cast<int>(sizeof(DWORD) / sizeof(Unit));
  if (size == 0) return kUnits;
  if (size < kUnits) return fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(data, &number, sizeof number);
  return kUnits;
}

}  // namespace

int GetLocaleInfoW(LCID lcid, LCTYPE type, LPWSTR data, int size) {
  if (type & 0xFFFF0000 & ~kTypeFlags) return fail(ERROR_INVALID_FLAGS);
  std::optional<LocaleValue> value = lookUp(lcid, type, size > 0 && !data, size);
  if (!value) return 0;
  if (type & LOCALE_RETURN_NUMBER) return deliverNumber(numberOf(*value, type), data, size);
  return deliverText(value->text, data, size);
}

int GetLocaleInfoA(LCID lcid, LCTYPE type, LPSTR data, int size) {
  if (type & 0xFFFF0000 & ~kTypeFlags) return fail(ERROR_INVALID_FLAGS);
  std::optional<LocaleValue> value = lookUp(lcid, type, size > 0 && !data, size);
  if (!value) return 0;
  if (type & LOCALE_RETURN_NUMBER) return deliverNumber(numberOf(*value, type), data, size);
  const std::string bytes =
      platform::internal::EncodeText(CP_WINDOWS1252, value->text, '?', nullptr);
  return deliverText(bytes, data, size);
}

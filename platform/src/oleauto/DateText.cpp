// Dates to text and back: VarBstrFromDate writes the locale's short date and
// time; VarDateFromStr reads the common numeric forms, English month names
// and a time of day with an optional AM/PM marker.
//
// A DATE counts days from 30 December 1899; the fraction is the time of day,
// taken by its absolute value (-1.25 is 29 December 1899, 06:00).
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "internal/LocaleData.h"
#include "internal/NumberParsing.h"
#include "internal/NumberText.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::LocaleData;

// 1 January 100 and 31 December 9999, the range of a DATE.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr int kSecondsPerDay = 86400;

struct Civil {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Days since 1 March of year 0 of the proleptic Gregorian calendar, shifted
// to the DATE epoch.
int64_t SerialFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  constexpr int64_t kEpochShift = 693899;  // 30 December 1899 in these days
  return era * 146097 + dayOfEra - kEpochShift;
}

void CivilFromSerial(int64_t serial, Civil* civil) {
  const int64_t z = serial + 693899;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  civil->day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  civil->month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  civil->year = static_cast<int>(yearOfEra + era * 400 + (civil->month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

constexpr std::u16string_view kMonthNames[] = {u"January",   u"February", u"March",    u"April",
                                               u"May",       u"June",     u"July",     u"August",
                                               u"September", u"October",  u"November", u"December"};
constexpr std::u16string_view kDayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};

// ---------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------

std::u16string Padded(int value, size_t width) {
  std::u16string digits = platform::internal::FormatUnsigned(static_cast<uint64_t>(value));
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

int DayOfWeek(const Civil& civil) {
  // 30 December 1899 was a Saturday.
  const int64_t serial = SerialFromCivil(civil.year, civil.month, civil.day);
  return static_cast<int>(((serial + 6) % 7 + 7) % 7);
}

// Day names run Monday to Sunday in the locale data; DayOfWeek counts from
// Sunday.
std::u16string DayName(const Civil& t, const LocaleData& locale, bool abbreviated) {
  const int day = DayOfWeek(t);
  if (locale.names) {
    const int mondayFirst = (day + 6) % 7;
    return abbreviated ? locale.names->abbrevDays[mondayFirst] : locale.names->days[mondayFirst];
  }
  return std::u16string(abbreviated ? kDayNames[day].substr(0, 3) : kDayNames[day]);
}

std::u16string MonthName(const Civil& t, const LocaleData& locale, bool abbreviated) {
  if (locale.names) {
    return abbreviated ? locale.names->abbrevMonths[t.month - 1]
                       : locale.names->months[t.month - 1];
  }
  const std::u16string_view name = kMonthNames[t.month - 1];
  return std::u16string(abbreviated ? name.substr(0, 3) : name);
}

std::u16string FieldText(char16_t letter, size_t count, const Civil& t, const LocaleData& locale) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  const std::u16string_view marker = t.hour < 12 ? locale.am : locale.pm;
  switch (letter) {
    case u'd':
      if (count >= 3) return DayName(t, locale, count == 3);
      return Padded(t.day, count);
    case u'M':
      if (count >= 3) return MonthName(t, locale, count == 3);
      return Padded(t.month, count);
    case u'y':
      // A full year is written as it is: 100, not 0100.
      return count <= 2 ? Padded(t.year % 100, count) : Padded(t.year, 1);
    case u'h':
      return Padded(hour12, std::min<size_t>(count, 2));
    case u'H':
      return Padded(t.hour, std::min<size_t>(count, 2));
    case u'm':
      return Padded(t.minute, std::min<size_t>(count, 2));
    case u's':
      return Padded(t.second, std::min<size_t>(count, 2));
    case u't':
      return std::u16string(count == 1 ? marker.substr(0, 1) : marker);
  }
  return std::u16string(count, letter);
}

// Expands a date or time picture ("M/d/yyyy", "h:mm:ss tt") as the locale
// functions do; text in single quotes is copied literally.
std::u16string ExpandPicture(std::u16string_view picture, const Civil& t,
                             const LocaleData& locale) {
  constexpr std::u16string_view kFieldLetters = u"dMyhHmst";
  std::u16string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      for (++i; i < picture.size(); ++i) {
        if (picture[i] != u'\'') {
          out += picture[i];
        } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
          out += u'\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c)
      ++run;
    if (kFieldLetters.find(c) == std::u16string_view::npos) {
      out.append(run, c);
    } else {
      out += FieldText(c, run, t, locale);
    }
    i += run;
  }
  // A 24-hour locale has no AM/PM text: no space is left dangling for it.
  while (!out.empty() && out.back() == u' ')
    out.pop_back();
  return out;
}

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

struct Token {
  enum class Kind { Number, DateSeparator, TimeSeparator, Month, Am, Pm };
  Kind kind;
  int value = 0;   // the number, or the month 1..12
  int digits = 0;  // how many digits the number had
};

// Upper case for ASCII and the Latin-1 letters, enough for month names.
char16_t FoldCase(char16_t c) {
  const bool lower = (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
  return lower ? static_cast<char16_t>(c - 0x20) : c;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view word) {
  if (word.empty() || text.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(word[i])) return false;
  }
  return true;
}

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0x24F);
}

// The month a word names, in English or in the locale's language, in full or
// by its first three letters or more; 0 when it names none.
int MonthOfWord(std::u16string_view word, const LocaleData& locale) {
  if (word.size() < 3) return 0;
  for (int month = 0; month < 12; ++month) {
    const std::u16string_view names[] = {kMonthNames[month],
                                         locale.names ? locale.names->months[month] : u"",
                                         locale.names ? locale.names->abbrevMonths[month] : u""};
    for (std::u16string_view name : names) {
      if (word.size() <= name.size() && StartsWithIgnoringCase(name, word)) return month + 1;
    }
  }
  return 0;
}

bool IsMarker(std::u16string_view word, std::u16string_view localeMarker,
              std::u16string_view english) {
  for (std::u16string_view marker : {localeMarker, english, english.substr(0, 1)}) {
    if (!marker.empty() && word.size() == marker.size() && StartsWithIgnoringCase(word, marker)) {
      return true;
    }
  }
  return false;
}

// A word of letters: a month name or an AM/PM marker. Sets length to the
// letters used.
std::optional<Token> ReadWord(std::u16string_view rest, const LocaleData& locale, size_t* length) {
  size_t n = 0;
  while (n < rest.size() && IsLetter(rest[n]))
    ++n;
  const std::u16string_view word = rest.substr(0, n);
  *length = n;
  if (const int month = MonthOfWord(word, locale)) return Token{Token::Kind::Month, month, 0};
  if (IsMarker(word, locale.am, u"AM")) return Token{Token::Kind::Am};
  if (IsMarker(word, locale.pm, u"PM")) return Token{Token::Kind::Pm};
  return std::nullopt;
}

bool Tokenize(std::u16string_view text, const LocaleData& locale, std::vector<Token>* tokens) {
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      Token number{Token::Kind::Number};
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (number.value < 100000) number.value = number.value * 10 + (text[i] - u'0');
        ++number.digits;
        ++i;
      }
      tokens->push_back(number);
    } else if (c == u':' || c == locale.timeSeparator) {
      tokens->push_back(Token{Token::Kind::TimeSeparator});
      ++i;
    } else if (c == u'/' || c == u'-' || c == u'.' || c == locale.dateSeparator) {
      tokens->push_back(Token{Token::Kind::DateSeparator});
      ++i;
    } else if (c == u',' || platform::internal::IsParserWhiteSpace(c)) {
      ++i;  // separates words and numbers without meaning anything else
    } else if (IsLetter(c)) {
      size_t length = 0;
      std::optional<Token> word = ReadWord(text.substr(i), locale, &length);
      if (!word) return false;
      tokens->push_back(*word);
      i += length;
    } else {
      return false;
    }
  }
  return true;
}

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

DateOrder LocaleDateOrder(const LocaleData& locale) {
  for (const char16_t* p = locale.shortDate; p && *p; ++p) {
    if (*p == u'M') return DateOrder::MonthDayYear;
    if (*p == u'd') return DateOrder::DayMonthYear;
    if (*p == u'y') return DateOrder::YearMonthDay;
  }
  return DateOrder::MonthDayYear;
}

int CurrentYear() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Two-digit years fall into 1930 to 2029.
int FullYear(const Token& number) {
  if (number.digits > 2) return number.value;
  return number.value < 30 ? 2000 + number.value : 1900 + number.value;
}

bool ValidDate(int year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

struct DateParts {
  std::vector<Token> numbers;
  int month = 0;  // from a month name
};

bool ResolveDate(const DateParts& parts, DateOrder order, Civil* civil) {
  const std::vector<Token>& n = parts.numbers;
  int year = 0, month = 0, day = 0;
  if (parts.month != 0) {
    month = parts.month;
    if (n.size() == 1) {
      if (n[0].value > 31 || n[0].digits > 2) {
        year = FullYear(n[0]);
        day = 1;
      } else {
        year = CurrentYear();
        day = n[0].value;
      }
    } else if (n.size() == 2) {
      const bool yearFirst = n[0].digits > 2 || n[0].value > 31;
      day = yearFirst ? n[1].value : n[0].value;
      year = FullYear(yearFirst ? n[0] : n[1]);
    } else {
      return false;
    }
  } else if (n.size() == 3) {
    if (n[0].digits > 2 || n[0].value > 31) order = DateOrder::YearMonthDay;
    switch (order) {
      case DateOrder::MonthDayYear:
        month = n[0].value, day = n[1].value, year = FullYear(n[2]);
        break;
      case DateOrder::DayMonthYear:
        day = n[0].value, month = n[1].value, year = FullYear(n[2]);
        break;
      case DateOrder::YearMonthDay:
        year = FullYear(n[0]), month = n[1].value, day = n[2].value;
        break;
    }
  } else if (n.size() == 2) {
    if (n[1].digits > 2 || n[1].value > 31) {
      month = n[0].value, day = 1, year = FullYear(n[1]);
    } else {
      const bool monthFirst = order != DateOrder::DayMonthYear;
      month = monthFirst ? n[0].value : n[1].value;
      day = monthFirst ? n[1].value : n[0].value;
      year = CurrentYear();
    }
  } else {
    return false;
  }
  if (!ValidDate(year, month, day)) return false;
  civil->year = year, civil->month = month, civil->day = day;
  return true;
}

// Splits the tokens into the time of day (numbers joined by time separators,
// or a number with an AM/PM marker) and the date parts.
bool ParseTokens(const std::vector<Token>& tokens, DateParts* date, Civil* time, bool* hasTime) {
  std::vector<int> timeFields;
  std::optional<bool> afternoon;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    const bool joinsTime =
        (i + 1 < tokens.size() && tokens[i + 1].kind == Token::Kind::TimeSeparator) ||
        (i > 0 && tokens[i - 1].kind == Token::Kind::TimeSeparator) ||
        (i + 1 < tokens.size() &&
         (tokens[i + 1].kind == Token::Kind::Am || tokens[i + 1].kind == Token::Kind::Pm));
    switch (t.kind) {
      case Token::Kind::Number:
        if (joinsTime) {
          timeFields.push_back(t.value);
        } else {
          date->numbers.push_back(t);
        }
        break;
      case Token::Kind::Month:
        if (date->month != 0) return false;
        date->month = t.value;
        break;
      case Token::Kind::Am:
      case Token::Kind::Pm:
        if (afternoon || timeFields.empty()) return false;
        afternoon = t.kind == Token::Kind::Pm;
        break;
      case Token::Kind::DateSeparator:
      case Token::Kind::TimeSeparator:
        break;
    }
  }
  if (timeFields.size() > 3) return false;
  *hasTime = !timeFields.empty();
  if (!*hasTime) return true;
  timeFields.resize(3, 0);
  int hour = timeFields[0];
  if (afternoon) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (*afternoon ? 12 : 0);
  }
  if (hour > 23 || timeFields[1] > 59 || timeFields[2] > 59) return false;
  time->hour = hour, time->minute = timeFields[1], time->second = timeFields[2];
  return true;
}

}  // namespace

HRESULT VarBstrFromDate(DATE in, LCID lcid, ULONG flags, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!(in > kFirstDay - 1.0 && in < kLastDay + 1.0)) return E_INVALIDARG;

  int64_t day = static_cast<int64_t>(std::trunc(in));
  int64_t seconds = std::llround(std::fabs(in - static_cast<double>(day)) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {  // rounding reached the next midnight
    seconds -= kSecondsPerDay;
    ++day;
  }
  Civil t;
  CivilFromSerial(day, &t);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);

  // Midnight shows the date alone, unless LOCALE_USE_NLS asks for the time
  // too; the day 0 (30 December 1899) shows the time alone.
  const bool showDate = !(flags & VAR_TIMEVALUEONLY) && (day != 0 || (flags & VAR_DATEVALUEONLY));
  const bool showTime =
      !(flags & VAR_DATEVALUEONLY) && (seconds != 0 || !showDate || (flags & LOCALE_USE_NLS) != 0);
  const LocaleData& locale = platform::internal::LocaleDataFor(lcid);
  std::u16string text;
  if (showDate) text = ExpandPicture(locale.shortDate, t, locale);
  if (showTime) {
    if (!text.empty()) text += u' ';
    text += ExpandPicture(locale.timeFormat, t, locale);
  }
  return platform::internal::ReturnBstr(text, out);
}

HRESULT VarDateFromStr(LPCOLESTR text, LCID lcid, ULONG flags, DATE* out) {
  if (!out) return E_INVALIDARG;
  if (!text) return DISP_E_TYPEMISMATCH;
  const LocaleData& locale = platform::internal::LocaleDataFor(lcid);
  std::vector<Token> tokens;
  if (!Tokenize(text, locale, &tokens) || tokens.empty()) return DISP_E_TYPEMISMATCH;

  DateParts date;
  Civil civil;
  bool hasTime = false;
  if (!ParseTokens(tokens, &date, &civil, &hasTime)) return DISP_E_TYPEMISMATCH;
  const bool hasDate = !date.numbers.empty() || date.month != 0;
  if (!hasDate && !hasTime) return DISP_E_TYPEMISMATCH;
  if (hasDate) {
    // A date that is impossible in the locale's order is tried the other
    // way round (13/1/2000 is 13 January in any locale).
    const DateOrder order = LocaleDateOrder(locale);
    const DateOrder other =
        order == DateOrder::DayMonthYear ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
    if (!ResolveDate(date, order, &civil) && !ResolveDate(date, other, &civil)) {
      return DISP_E_TYPEMISMATCH;
    }
  }

  const double fraction =
      (civil.hour * 3600 + civil.minute * 60 + civil.second) / static_cast<double>(kSecondsPerDay);
  double days = 0.0;
  if (hasDate && !(flags & VAR_TIMEVALUEONLY)) {
    days = static_cast<double>(SerialFromCivil(civil.year, civil.month, civil.day));
  }
  const bool withTime = !(flags & VAR_DATEVALUEONLY);
  *out = days < 0 ? days - (withTime ? fraction : 0.0) : days + (withTime ? fraction : 0.0);
  return S_OK;
}

#include "internal/DatePattern.h"

#include <cmath>

#include "internal/CalendarDate.h"
#include "internal/LocaleData.h"

namespace platform::internal {
namespace {

char16_t lowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

size_t runLength(std::u16string_view text, size_t start, bool ignoreCase) {
  size_t end = start + 1;
  auto same = [&](char16_t c) {
    return ignoreCase ? lowerAscii(c) == lowerAscii(text[start]) : c == text[start];
  };
  while (end < text.size() && same(text[end]))
    ++end;
  return end - start;
}

bool startsWithIgnoringCase(std::u16string_view text, size_t start, std::u16string_view prefix) {
  if (text.size() - start < prefix.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k) {
    if (lowerAscii(text[start + k]) != prefix[k]) return false;
  }
  return true;
}

std::u16string number(int value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

std::u16string twoDigits(int value) {
  std::u16string text = number(value);
  return text.size() < 2 ? u"0" + text : text;
}

std::u16string fourDigits(int value) {
  std::u16string text = number(value);
  return std::u16string(text.size() < 4 ? 4 - text.size() : 0, u'0') + text;
}

int mondayFirst(int weekday) {
  return (weekday + 6) % 7;
}

}  // namespace

DatePattern DatePattern::FromFormat(std::u16string_view section, const LocaleData& locale) {
  DatePattern pattern;
  auto add = [&pattern](Field field) { pattern.tokens_.push_back({field, {}, {}}); };
  for (size_t i = 0; i < section.size(); ++i) {
    const char16_t c = section[i];
    if (c == u'"') {
      size_t close = section.find(u'"', i + 1);
      if (close == std::u16string_view::npos) close = section.size();
      pattern.literal(std::u16string(section.substr(i + 1, close - i - 1)));
      i = close;
      continue;
    }
    if (c == u'\\') {
      if (i + 1 < section.size()) pattern.literal(std::u16string(1, section[++i]));
      continue;
    }
    if (startsWithIgnoringCase(section, i, u"am/pm")) {
      pattern.tokens_.push_back({Field::AmPm, std::u16string(section.substr(i, 2)),
                                 std::u16string(section.substr(i + 3, 2))});
      pattern.twelveHour_ = true;
      i += 4;
      continue;
    }
    if (startsWithIgnoringCase(section, i, u"a/p")) {
      pattern.tokens_.push_back(
          {Field::AmPm, std::u16string(1, section[i]), std::u16string(1, section[i + 2])});
      pattern.twelveHour_ = true;
      i += 2;
      continue;
    }
    if (startsWithIgnoringCase(section, i, u"ampm")) {
      pattern.tokens_.push_back({Field::AmPm, locale.am, locale.pm});
      pattern.twelveHour_ = true;
      i += 3;
      continue;
    }
    const size_t run = runLength(section, i, true);
    switch (lowerAscii(c)) {
      case u'd':
        if (run >= 6) {
          pattern.append(FromPicture(locale.longDate, locale));
        } else if (run == 5) {
          pattern.append(FromPicture(locale.shortDate, locale));
        } else {
          static constexpr Field kDays[] = {Field::Day, Field::Day2, Field::DayAbbrev,
                                            Field::DayName};
          add(kDays[run - 1]);
        }
        break;
      case u'm': {
        static constexpr Field kMonths[] = {Field::Month, Field::Month2, Field::MonthAbbrev,
                                            Field::MonthName};
        add(kMonths[std::min<size_t>(run, 4) - 1]);
        break;
      }
      case u'y':
        add(run == 1 ? Field::DayOfYear : run == 2 ? Field::Year2 : Field::Year4);
        break;
      case u'h':
        add(run == 1 ? Field::Hour : Field::Hour2);
        break;
      case u'n':
        add(run == 1 ? Field::Minute : Field::Minute2);
        break;
      case u's':
        add(run == 1 ? Field::Second : Field::Second2);
        break;
      case u'w':
        add(run == 1 ? Field::Weekday : Field::Week);
        break;
      case u'q':
        for (size_t k = 0; k < run; ++k)
          add(Field::Quarter);
        break;
      case u'c':
        for (size_t k = 0; k < run; ++k)
          add(Field::GeneralDate);
        break;
      case u't':
        if (run < 5) {
          pattern.literal(std::u16string(section.substr(i, run)));
          break;
        }
        pattern.append(FromPicture(locale.timeFormat, locale));
        pattern.literal(std::u16string(section.substr(i + 5, run - 5)));
        break;
      case u'/':
        pattern.literal(std::u16string(run, locale.dateSeparator));
        break;
      case u':':
        pattern.literal(std::u16string(run, locale.timeSeparator));
        break;
      default:
        pattern.literal(std::u16string(section.substr(i, run)));
        break;
    }
    i += run - 1;
  }
  pattern.resolveMinutes();
  return pattern;
}

DatePattern DatePattern::FromPicture(std::u16string_view picture, const LocaleData& locale) {
  DatePattern pattern;
  auto add = [&pattern](Field field, Clock clock = Clock::Auto) {
    pattern.tokens_.push_back({field, {}, {}, clock});
  };
  for (size_t i = 0; i < picture.size(); ++i) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      // Quoted text; '' inside stands for one quote.
      std::u16string text;
      size_t k = i + 1;
      for (; k < picture.size(); ++k) {
        if (picture[k] != u'\'') {
          text.push_back(picture[k]);
        } else if (k + 1 < picture.size() && picture[k + 1] == u'\'') {
          text.push_back(u'\'');
          ++k;
        } else {
          break;
        }
      }
      pattern.literal(std::move(text));
      i = k;
      continue;
    }
    const size_t run = runLength(picture, i, false);
    const bool one = run == 1;
    switch (c) {
      case u'd':
        add(one        ? Field::Day
            : run == 2 ? Field::Day2
            : run == 3 ? Field::DayAbbrev
                       : Field::DayName);
        break;
      case u'M':
        add(one        ? Field::Month
            : run == 2 ? Field::Month2
            : run == 3 ? Field::MonthAbbrev
                       : Field::MonthName);
        break;
      case u'y':
        add(one ? Field::YearShort : run == 2 ? Field::Year2 : Field::Year4);
        break;
      case u'h':
        add(one ? Field::Hour : Field::Hour2, Clock::Twelve);
        break;
      case u'H':
        add(one ? Field::Hour : Field::Hour2, Clock::TwentyFour);
        break;
      case u'm':
        add(one ? Field::Minute : Field::Minute2);
        break;
      case u's':
        add(one ? Field::Second : Field::Second2);
        break;
      case u't': {
        std::u16string am(locale.am);
        std::u16string pm(locale.pm);
        if (one) {
          am = am.substr(0, 1);
          pm = pm.substr(0, 1);
        }
        pattern.tokens_.push_back({Field::AmPm, am, pm});
        break;
      }
      case u'g':
        break;  // eras: the Gregorian calendar shows none
      default:
        pattern.literal(std::u16string(picture.substr(i, run)));
        break;
    }
    i += run - 1;
  }
  return pattern;
}

DatePattern DatePattern::General(DATE value, const LocaleData& locale) {
  const double whole = std::trunc(value);
  const bool hasDate = whole != 0;
  const bool hasTime = value != whole;
  if (hasDate && !hasTime) return FromPicture(locale.shortDate, locale);
  DatePattern pattern;
  if (hasDate) {
    pattern.append(FromPicture(locale.shortDate, locale));
    pattern.literal(u" ");
  }
  pattern.append(FromPicture(locale.timeFormat, locale));
  return pattern;
}

std::optional<std::u16string> DatePattern::Format(DATE value, const LocaleData& locale,
                                                  int firstDay, int firstWeek) const {
  const std::optional<CalendarDate> date = CalendarDate::FromDate(value);
  if (!date) return std::nullopt;
  std::u16string out;
  for (const Token& token : tokens_)
    out += field(token, value, *date, locale, firstDay, firstWeek);
  return out;
}

void DatePattern::append(const DatePattern& other) {
  tokens_.insert(tokens_.end(), other.tokens_.begin(), other.tokens_.end());
}

void DatePattern::literal(std::u16string text) {
  if (!text.empty()) tokens_.push_back({Field::Literal, std::move(text), {}});
}

// m and mm stand for minutes right after an hour (literals between them
// allowed); everywhere else they are the month.
void DatePattern::resolveMinutes() {
  const Token* lastField = nullptr;
  for (Token& token : tokens_) {
    if (token.field == Field::Literal) continue;
    const bool afterHour =
        lastField && (lastField->field == Field::Hour || lastField->field == Field::Hour2);
    if (afterHour && token.field == Field::Month) token.field = Field::Minute;
    if (afterHour && token.field == Field::Month2) token.field = Field::Minute2;
    lastField = &token;
  }
}

std::u16string DatePattern::field(const Token& token, DATE value, const CalendarDate& date,
                                  const LocaleData& locale, int firstDay, int firstWeek) const {
  const bool twelve = token.clock == Clock::Twelve || (token.clock == Clock::Auto && twelveHour_);
  const int hour = twelve ? (date.hour % 12 == 0 ? 12 : date.hour % 12) : date.hour;
  switch (token.field) {
    case Field::Literal:
      return token.text;
    case Field::Day:
      return number(date.day);
    case Field::Day2:
      return twoDigits(date.day);
    case Field::DayAbbrev:
      return locale.names->abbrevDays[mondayFirst(date.weekday)];
    case Field::DayName:
      return locale.names->days[mondayFirst(date.weekday)];
    case Field::Month:
      return number(date.month);
    case Field::Month2:
      return twoDigits(date.month);
    case Field::MonthAbbrev:
      return locale.names->abbrevMonths[date.month - 1];
    case Field::MonthName:
      return locale.names->months[date.month - 1];
    case Field::YearShort:
      return number(date.year % 100);
    case Field::Year2:
      return twoDigits(date.year % 100);
    case Field::Year4:
      return fourDigits(date.year);
    case Field::DayOfYear:
      return number(date.dayOfYear);
    case Field::Weekday:
      return number((date.weekday - (firstDay - 1) + 7) % 7 + 1);
    case Field::Week:
      return number(date.WeekOfYear(firstDay, firstWeek));
    case Field::Quarter:
      return number((date.month - 1) / 3 + 1);
    case Field::Hour:
      return number(hour);
    case Field::Hour2:
      return twoDigits(hour);
    case Field::Minute:
      return number(date.minute);
    case Field::Minute2:
      return twoDigits(date.minute);
    case Field::Second:
      return number(date.second);
    case Field::Second2:
      return twoDigits(date.second);
    case Field::AmPm:
      return date.hour < 12 ? token.text : token.pmText;
    case Field::GeneralDate:
      return General(value, locale).Format(value, locale, firstDay, firstWeek).value_or(u"");
  }
  return {};
}

}  // namespace platform::internal

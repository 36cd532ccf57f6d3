// Date and time patterns, in two dialects: the format language of VarFormat
// (d dd ddd dddd ddddd dddddd, m mm mmm mmmm, y yy yyyy, h hh, n nn, s ss,
// w ww q c ttttt, AM/PM am/pm A/P a/p AMPM, / and : as the locale's
// separators) and the locale's own pictures (d M y h H m s tt, 'quoted').
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform::internal {

struct CalendarDate;
struct LocaleData;

class DatePattern {
 public:
  // A section of a VarFormat format text.
  static DatePattern FromFormat(std::u16string_view section, const LocaleData& locale);
  // A locale picture such as LOCALE_SSHORTDATE's "M/d/yyyy".
  static DatePattern FromPicture(std::u16string_view picture, const LocaleData& locale);
  // The general date: the short date, the long time, or both, as the value
  // has a date part, a time part or both.
  static DatePattern General(DATE value, const LocaleData& locale);

  // Null when the value lies outside the DATE range. firstDay (1 Sunday ..
  // 7 Saturday) and firstWeek (1..3) serve the w and ww fields.
  std::optional<std::u16string> Format(DATE value, const LocaleData& locale, int firstDay,
                                       int firstWeek) const;

 private:
  enum class Field {
    Literal,
    Day,
    Day2,
    DayAbbrev,
    DayName,
    Month,
    Month2,
    MonthAbbrev,
    MonthName,
    YearShort,  // the year in the century without a leading zero
    Year2,
    Year4,
    DayOfYear,
    Weekday,
    Week,
    Quarter,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    AmPm,
    GeneralDate,
  };
  enum class Clock { Auto, Twelve, TwentyFour };
  struct Token {
    Field field;
    std::u16string text;    // literal text, or the morning marker
    std::u16string pmText;  // the afternoon marker
    Clock clock = Clock::Auto;
  };

  void append(const DatePattern& other);
  void literal(std::u16string text);
  void resolveMinutes();
  std::u16string field(const Token& token, DATE value, const CalendarDate& date,
                       const LocaleData& locale, int firstDay, int firstWeek) const;

  std::vector<Token> tokens_;
  bool twelveHour_ = false;  // an AM/PM marker makes h and hh count to 12
};

}  // namespace platform::internal

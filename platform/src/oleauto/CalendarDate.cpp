#include "internal/CalendarDate.h"

#include <cmath>

namespace platform::internal {
namespace {

constexpr double kFirstDate = -657434.0;     // 1 January 100
constexpr double kPastLastDate = 2958466.0;  // 1 January 10000
constexpr long long kDaysTo1970 = 25569;     // from 30 December 1899
constexpr long long kSecondsPerDay = 86400;

struct YearMonthDay {
  int year;
  int month;
  int day;
};

// Proleptic Gregorian calendar from days since 1 January 1970.
YearMonthDay civilFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shifted = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int ordinalDay(int year, int month, int day) {
  static constexpr int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kBefore[month - 1] + day + (month > 2 && isLeapYear(year) ? 1 : 0);
}

// Days a weekday (0 Sunday) lies after the first day of the week (1 Sunday).
int daysIntoWeek(int weekday, int firstDay) {
  return (weekday - (firstDay - 1) + 7) % 7;
}

int weekOf(int year, int dayIndex, int weekday, int firstDay, int firstWeek) {
  const int january1 = ((weekday - dayIndex) % 7 + 7) % 7;
  const int before = daysIntoWeek(january1, firstDay);  // days of that week in the old year
  int start = -before;
  if ((firstWeek == 2 && before >= 4) || (firstWeek == 3 && before != 0)) start += 7;
  if (dayIndex >= start) return (dayIndex - start) / 7 + 1;
  const int previousYear = year - 1;
  const int lastIndex = isLeapYear(previousYear) ? 365 : 364;
  return weekOf(previousYear, lastIndex, (january1 + 6) % 7, firstDay, firstWeek);
}

}  // namespace

std::optional<CalendarDate> CalendarDate::FromDate(DATE value) {
  if (!(value >= kFirstDate && value < kPastLastDate)) return std::nullopt;
  const double whole = std::trunc(value);
  long long days = static_cast<long long>(whole);
  long long seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++days;
  }
  const long long since1970 = days - kDaysTo1970;
  const YearMonthDay date = civilFromDays(since1970);
  CalendarDate result{};
  result.year = date.year;
  result.month = date.month;
  result.day = date.day;
  result.hour = static_cast<int>(seconds / 3600);
  result.minute = static_cast<int>(seconds / 60 % 60);
  result.second = static_cast<int>(seconds % 60);
  result.weekday = static_cast<int>(((since1970 + 4) % 7 + 7) % 7);  // 1 January 1970: Thursday
  result.dayOfYear = ordinalDay(date.year, date.month, date.day);
  return result;
}

int CalendarDate::WeekOfYear(int firstDay, int firstWeek) const {
  return weekOf(year, dayOfYear - 1, weekday, firstDay, firstWeek);
}

}  // namespace platform::internal

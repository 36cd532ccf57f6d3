// A DATE (days since 30 December 1899, the fraction being the time of day)
// broken into its calendar fields.
#pragma once

#include <optional>

#include "platform/types.h"

namespace platform::internal {

struct CalendarDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
  int hour;   // 0..23
  int minute;
  int second;
  int weekday;    // 0 Sunday .. 6 Saturday
  int dayOfYear;  // 1..366

  // Null outside the DATE range (years 100 to 9999). The time is rounded to
  // the nearest second. For dates before 1900 the fraction still counts
  // forward from midnight: -1.25 is 29 December 1899, 06:00.
  static std::optional<CalendarDate> FromDate(DATE value);

  // The week of the year holding this date. firstDay: 1 Sunday .. 7 Saturday;
  // firstWeek: 1 the week of 1 January, 2 the first week with four days of
  // the year, 3 the first full week. Days before week 1 belong to the last
  // week of the year before.
  int WeekOfYear(int firstDay, int firstWeek) const;
};

}  // namespace platform::internal

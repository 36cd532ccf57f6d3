// The values of the user's locale that the library reads once at start-up
// and keeps for the whole process: the decimal separator, the first day of
// the week and the first week of the year.
//
// The process entry runs the three Read steps once. Each step reads its value
// again whenever it runs, so a test that installs another user locale
// (platform::ScopedUserLocale) runs them again to pick that locale up, and
// once more after restoring it. A value asked for before its step has run is
// read on first use.
#pragma once

#include "platform/types.h"

namespace rt {

// The second character of 0.1 as the locale writes it (VarBstrFromR8).
// Always returns 0.
HRESULT ReadDecimalSeparator();

// The locale's first day of the week, as 1 (Sunday) to 7 (Saturday); Monday
// when the locale gives none. Always returns 0.
HRESULT ReadFirstDayOfWeek();

// The locale's first week of the year: 1 for the week of 1 January (also
// when the locale gives none), 2 for the first week with four days, 3 for the
// first full week. Always returns 0.
HRESULT ReadFirstWeekOfYear();

char16_t DecimalSeparator();
int FirstDayOfWeek();
int FirstWeekOfYear();

}  // namespace rt

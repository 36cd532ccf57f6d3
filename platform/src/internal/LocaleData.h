// Per-locale values behind GetLocaleInfo and the locale-aware conversions.
#pragma once

#include "platform/types.h"

namespace platform::internal {

struct LocaleData {
  LCID lcid;
  const char* name;          // "en-US"
  const char* posixPrefix;   // "en_US"
  char16_t decimal;          // LOCALE_SDECIMAL
  char16_t thousands;        // LOCALE_STHOUSAND
  char16_t dateSeparator;    // LOCALE_SDATE
  char16_t timeSeparator;    // LOCALE_STIME
  char16_t listSeparator;    // LOCALE_SLIST
  int firstDayOfWeek;        // LOCALE_IFIRSTDAYOFWEEK: 0 Monday .. 6 Sunday
  int firstWeekOfYear;       // LOCALE_IFIRSTWEEKOFYEAR: 0, 1 or 2
  const char16_t* shortDate; // LOCALE_SSHORTDATE
  const char16_t* longDate;  // LOCALE_SLONGDATE
  const char16_t* timeFormat;  // LOCALE_STIMEFORMAT
  const char16_t* am;        // LOCALE_S1159
  const char16_t* pm;        // LOCALE_S2359
  const char16_t* currency;  // LOCALE_SCURRENCY
  const char16_t* language;  // LOCALE_SENGLANGUAGE
};

// The identifier after resolving LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT
// and 0 (all the user default here).
LCID ResolveLcid(LCID lcid);

// Data for a locale; null for an identifier this platform does not know.
const LocaleData* FindLocaleData(LCID lcid);

// Data for a locale, falling back to en-US for unknown identifiers.
const LocaleData& LocaleDataFor(LCID lcid);

}  // namespace platform::internal

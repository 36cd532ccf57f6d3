// Per-locale values behind GetLocaleInfo and the locale-aware conversions.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// Day and month names; days run Monday to Sunday as LOCALE_SDAYNAME1..7 do.
struct LocaleNames {
  const char16_t* days[7];
  const char16_t* abbrevDays[7];
  const char16_t* months[12];
  const char16_t* abbrevMonths[12];
};

struct LocaleData {
  LCID lcid;
  const char* name;                // "en-US"
  const char* posixPrefix;         // "en_US"
  char16_t decimal;                // LOCALE_SDECIMAL
  char16_t thousands;              // LOCALE_STHOUSAND
  char16_t dateSeparator;          // LOCALE_SDATE
  char16_t timeSeparator;          // LOCALE_STIME
  char16_t listSeparator;          // LOCALE_SLIST
  int firstDayOfWeek;              // LOCALE_IFIRSTDAYOFWEEK: 0 Monday .. 6 Sunday
  int firstWeekOfYear;             // LOCALE_IFIRSTWEEKOFYEAR: 0, 1 or 2
  const char16_t* shortDate;       // LOCALE_SSHORTDATE
  const char16_t* longDate;        // LOCALE_SLONGDATE
  const char16_t* timeFormat;      // LOCALE_STIMEFORMAT
  const char16_t* am;              // LOCALE_S1159
  const char16_t* pm;              // LOCALE_S2359
  const char16_t* currency;        // LOCALE_SCURRENCY
  const char16_t* language;        // LOCALE_SENGLANGUAGE
  const char16_t* shortTime;       // LOCALE_SSHORTTIME
  const char16_t* displayName;     // LOCALE_SLANGUAGE: "English (United States)"
  const char16_t* nativeLanguage;  // LOCALE_SNATIVELANGNAME
  const char16_t* abbrevLanguage;  // LOCALE_SABBREVLANGNAME
  const char16_t* country;         // LOCALE_SENGCOUNTRY and LOCALE_SCOUNTRY
  const char16_t* nativeCountry;   // LOCALE_SNATIVECTRYNAME
  const char16_t* abbrevCountry;   // LOCALE_SABBREVCTRYNAME
  const char16_t* isoLanguage;     // LOCALE_SISO639LANGNAME
  const char16_t* isoCountry;      // LOCALE_SISO3166CTRYNAME
  const char16_t* intlSymbol;      // LOCALE_SINTLSYMBOL
  int countryCode;                 // LOCALE_ICOUNTRY
  int oemCodePage;                 // LOCALE_IDEFAULTCODEPAGE
  int measure;                     // LOCALE_IMEASURE: 0 metric, 1 U.S.
  int currencyPositive;            // LOCALE_ICURRENCY: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  int currencyNegative;            // LOCALE_INEGCURR: 0 "($1)", 1 "-$1", ... 8 "-1 $"
  const LocaleNames* names;
  const char16_t* trueWord = u"True";  // the Boolean words of VARIANT_LOCALBOOL
  const char16_t* falseWord = u"False";
  const char16_t* grouping = u"3;0";  // LOCALE_SGROUPING, also LOCALE_SMONGROUPING
  int digits = 2;                     // LOCALE_IDIGITS
  int leadingZero = 1;                // LOCALE_ILZERO
  int negativeNumber = 1;             // LOCALE_INEGNUMBER: 1 "-1.1"
  int currencyDigits = 2;             // LOCALE_ICURRDIGITS
  int ansiCodePage = 1252;            // LOCALE_IDEFAULTANSICODEPAGE
};

// The identifier after resolving LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT
// and 0 (all the user default here).
LCID ResolveLcid(LCID lcid);

// Data for a locale; null for an identifier this platform does not know.
const LocaleData* FindLocaleData(LCID lcid);

// Data for a locale, falling back to en-US for unknown identifiers.
const LocaleData& LocaleDataFor(LCID lcid);

}  // namespace platform::internal

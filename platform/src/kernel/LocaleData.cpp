#include "internal/LocaleData.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/kernel.h"
#include "platform/locale.h"

namespace platform::internal {
namespace {

constexpr LocaleNames kEnglishNames = {
    {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
    {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"},
    {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
     u"October", u"November", u"December"},
    {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
     u"Dec"},
};

constexpr LocaleNames kGermanNames = {
    {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
    {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"},
    {u"Januar", u"Februar", u"M\u00E4rz", u"April", u"Mai", u"Juni", u"Juli", u"August",
     u"September", u"Oktober", u"November", u"Dezember"},
    {u"Jan", u"Feb", u"M\u00E4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov",
     u"Dez"},
};

constexpr LocaleNames kFrenchNames = {
    {u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche"},
    {u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam.", u"dim."},
    {u"janvier", u"f\u00E9vrier", u"mars", u"avril", u"mai", u"juin", u"juillet", u"ao\u00FBt",
     u"septembre", u"octobre", u"novembre", u"d\u00E9cembre"},
    {u"janv.", u"f\u00E9vr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"ao\u00FBt", u"sept.",
     u"oct.", u"nov.", u"d\u00E9c."},
};

constexpr LocaleNames kSpanishNames = {
    {u"lunes", u"martes", u"mi\u00E9rcoles", u"jueves", u"viernes", u"s\u00E1bado", u"domingo"},
    {u"lun.", u"mar.", u"mi\u00E9.", u"jue.", u"vie.", u"s\u00E1b.", u"dom."},
    {u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio", u"julio", u"agosto",
     u"septiembre", u"octubre", u"noviembre", u"diciembre"},
    {u"ene.", u"feb.", u"mar.", u"abr.", u"may.", u"jun.", u"jul.", u"ago.", u"sept.", u"oct.",
     u"nov.", u"dic."},
};

constexpr LocaleNames kPolishNames = {
    {u"poniedzia\u0142ek", u"wtorek", u"\u015Broda", u"czwartek", u"pi\u0105tek", u"sobota",
     u"niedziela"},
    {u"pon.", u"wt.", u"\u015Br.", u"czw.", u"pt.", u"sob.", u"niedz."},
    {u"stycze\u0144", u"luty", u"marzec", u"kwiecie\u0144", u"maj", u"czerwiec", u"lipiec",
     u"sierpie\u0144", u"wrzesie\u0144", u"pa\u017Adziernik", u"listopad", u"grudzie\u0144"},
    {u"sty", u"lut", u"mar", u"kwi", u"maj", u"cze", u"lip", u"sie", u"wrz", u"pa\u017A", u"lis",
     u"gru"},
};

// The platform's own values for each locale (user overrides are not modelled).
constexpr LocaleData kLocales[] = {
    {.lcid = 0x0409,
     .name = "en-US",
     .posixPrefix = "en_US",
     .decimal = u'.',
     .thousands = u',',
     .dateSeparator = u'/',
     .timeSeparator = u':',
     .listSeparator = u',',
     .firstDayOfWeek = 6,
     .firstWeekOfYear = 0,
     .shortDate = u"M/d/yyyy",
     .longDate = u"dddd, MMMM d, yyyy",
     .timeFormat = u"h:mm:ss tt",
     .am = u"AM",
     .pm = u"PM",
     .currency = u"$",
     .language = u"English",
     .shortTime = u"h:mm tt",
     .displayName = u"English (United States)",
     .nativeLanguage = u"English",
     .abbrevLanguage = u"ENU",
     .country = u"United States",
     .nativeCountry = u"United States",
     .abbrevCountry = u"USA",
     .isoLanguage = u"en",
     .isoCountry = u"US",
     .intlSymbol = u"USD",
     .countryCode = 1,
     .oemCodePage = 437,
     .measure = 1,
     .currencyPositive = 0,
     .currencyNegative = 0,
     .names = &kEnglishNames},
    {.lcid = 0x0809,
     .name = "en-GB",
     .posixPrefix = "en_GB",
     .decimal = u'.',
     .thousands = u',',
     .dateSeparator = u'/',
     .timeSeparator = u':',
     .listSeparator = u',',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 2,
     .shortDate = u"dd/MM/yyyy",
     .longDate = u"dd MMMM yyyy",
     .timeFormat = u"HH:mm:ss",
     .am = u"AM",
     .pm = u"PM",
     .currency = u"\u00A3",
     .language = u"English",
     .shortTime = u"HH:mm",
     .displayName = u"English (United Kingdom)",
     .nativeLanguage = u"English",
     .abbrevLanguage = u"ENG",
     .country = u"United Kingdom",
     .nativeCountry = u"United Kingdom",
     .abbrevCountry = u"GBR",
     .isoLanguage = u"en",
     .isoCountry = u"GB",
     .intlSymbol = u"GBP",
     .countryCode = 44,
     .oemCodePage = 850,
     .measure = 0,
     .currencyPositive = 0,
     .currencyNegative = 1,
     .names = &kEnglishNames},
    {.lcid = 0x0C09,
     .name = "en-AU",
     .posixPrefix = "en_AU",
     .decimal = u'.',
     .thousands = u',',
     .dateSeparator = u'/',
     .timeSeparator = u':',
     .listSeparator = u',',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 0,
     .shortDate = u"d/MM/yyyy",
     .longDate = u"dddd, d MMMM yyyy",
     .timeFormat = u"h:mm:ss tt",
     .am = u"AM",
     .pm = u"PM",
     .currency = u"$",
     .language = u"English",
     .shortTime = u"h:mm tt",
     .displayName = u"English (Australia)",
     .nativeLanguage = u"English",
     .abbrevLanguage = u"ENA",
     .country = u"Australia",
     .nativeCountry = u"Australia",
     .abbrevCountry = u"AUS",
     .isoLanguage = u"en",
     .isoCountry = u"AU",
     .intlSymbol = u"AUD",
     .countryCode = 61,
     .oemCodePage = 850,
     .measure = 0,
     .currencyPositive = 0,
     .currencyNegative = 1,
     .names = &kEnglishNames},
    {.lcid = 0x0407,
     .name = "de-DE",
     .posixPrefix = "de_DE",
     .decimal = u',',
     .thousands = u'.',
     .dateSeparator = u'.',
     .timeSeparator = u':',
     .listSeparator = u';',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 2,
     .shortDate = u"dd.MM.yyyy",
     .longDate = u"dddd, d. MMMM yyyy",
     .timeFormat = u"HH:mm:ss",
     .am = u"",
     .pm = u"",
     .currency = u"\u20AC",
     .language = u"German",
     .shortTime = u"HH:mm",
     .displayName = u"German (Germany)",
     .nativeLanguage = u"Deutsch",
     .abbrevLanguage = u"DEU",
     .country = u"Germany",
     .nativeCountry = u"Deutschland",
     .abbrevCountry = u"DEU",
     .isoLanguage = u"de",
     .isoCountry = u"DE",
     .intlSymbol = u"EUR",
     .countryCode = 49,
     .oemCodePage = 850,
     .measure = 0,
     .currencyPositive = 3,
     .currencyNegative = 8,
     .names = &kGermanNames,
     .trueWord = u"Wahr",
     .falseWord = u"Falsch"},
    {.lcid = 0x040C,
     .name = "fr-FR",
     .posixPrefix = "fr_FR",
     .decimal = u',',
     .thousands = u'\u00A0',
     .dateSeparator = u'/',
     .timeSeparator = u':',
     .listSeparator = u';',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 2,
     .shortDate = u"dd/MM/yyyy",
     .longDate = u"dddd d MMMM yyyy",
     .timeFormat = u"HH:mm:ss",
     .am = u"",
     .pm = u"",
     .currency = u"\u20AC",
     .language = u"French",
     .shortTime = u"HH:mm",
     .displayName = u"French (France)",
     .nativeLanguage = u"fran\u00E7ais",
     .abbrevLanguage = u"FRA",
     .country = u"France",
     .nativeCountry = u"France",
     .abbrevCountry = u"FRA",
     .isoLanguage = u"fr",
     .isoCountry = u"FR",
     .intlSymbol = u"EUR",
     .countryCode = 33,
     .oemCodePage = 850,
     .measure = 0,
     .currencyPositive = 3,
     .currencyNegative = 8,
     .names = &kFrenchNames,
     .trueWord = u"Vrai",
     .falseWord = u"Faux"},
    {.lcid = 0x0C0A,
     .name = "es-ES",
     .posixPrefix = "es_ES",
     .decimal = u',',
     .thousands = u'.',
     .dateSeparator = u'/',
     .timeSeparator = u':',
     .listSeparator = u';',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 2,
     .shortDate = u"dd/MM/yyyy",
     .longDate = u"dddd, d' de 'MMMM' de 'yyyy",
     .timeFormat = u"H:mm:ss",
     .am = u"a. m.",
     .pm = u"p. m.",
     .currency = u"\u20AC",
     .language = u"Spanish",
     .shortTime = u"H:mm",
     .displayName = u"Spanish (Spain)",
     .nativeLanguage = u"espa\u00F1ol",
     .abbrevLanguage = u"ESN",
     .country = u"Spain",
     .nativeCountry = u"Espa\u00F1a",
     .abbrevCountry = u"ESP",
     .isoLanguage = u"es",
     .isoCountry = u"ES",
     .intlSymbol = u"EUR",
     .countryCode = 34,
     .oemCodePage = 850,
     .measure = 0,
     .currencyPositive = 3,
     .currencyNegative = 8,
     .names = &kSpanishNames,
     .trueWord = u"Verdadero",
     .falseWord = u"Falso"},
    {.lcid = 0x0415,
     .name = "pl-PL",
     .posixPrefix = "pl_PL",
     .decimal = u',',
     .thousands = u'\u00A0',
     .dateSeparator = u'.',
     .timeSeparator = u':',
     .listSeparator = u';',
     .firstDayOfWeek = 0,
     .firstWeekOfYear = 2,
     .shortDate = u"dd.MM.yyyy",
     .longDate = u"d MMMM yyyy",
     .timeFormat = u"HH:mm:ss",
     .am = u"",
     .pm = u"",
     .currency = u"z\u0142",
     .language = u"Polish",
     .shortTime = u"HH:mm",
     .displayName = u"Polish (Poland)",
     .nativeLanguage = u"polski",
     .abbrevLanguage = u"PLK",
     .country = u"Poland",
     .nativeCountry = u"Polska",
     .abbrevCountry = u"POL",
     .isoLanguage = u"pl",
     .isoCountry = u"PL",
     .intlSymbol = u"PLN",
     .countryCode = 48,
     .oemCodePage = 852,
     .measure = 0,
     .currencyPositive = 3,
     .currencyNegative = 8,
     .names = &kPolishNames,
     .trueWord = u"Prawda",
     .falseWord = u"Fa\u0142sz",
     .ansiCodePage = 1250},
};

std::atomic<LCID> g_override{0};

LCID environmentLcid() {
  static const LCID lcid = [] {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
      const char* value = std::getenv(var);
      if (value && *value) return LcidFromPosixName(value);
    }
    return static_cast<LCID>(0x0409);
  }();
  return lcid;
}

}  // namespace

LCID ResolveLcid(LCID lcid) {
  if (lcid == 0 || lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT) {
    return GetUserDefaultLCID();
  }
  return lcid;
}

const LocaleData* FindLocaleData(LCID lcid) {
  lcid = ResolveLcid(lcid);
  if (lcid == LOCALE_INVARIANT) lcid = 0x0409;
  for (const LocaleData& data : kLocales) {
    if (data.lcid == (lcid & 0xFFFF)) return &data;
  }
  return nullptr;
}

const LocaleData& LocaleDataFor(LCID lcid) {
  const LocaleData* data = FindLocaleData(lcid);
  return data ? *data : kLocales[0];
}

}  // namespace platform::internal

namespace platform {

void SetUserLocaleOverride(LCID lcid) {
  internal::g_override.store(lcid);
}

LCID LcidFromPosixName(const char* name) {
  if (!name) return 0x0409;
  for (const internal::LocaleData& data : internal::kLocales) {
    size_t n = std::strlen(data.posixPrefix);
    if (std::strncmp(name, data.posixPrefix, n) == 0) return data.lcid;
  }
  // Same language, other region: the first locale of that language.
  for (const internal::LocaleData& data : internal::kLocales) {
    if (std::strncmp(name, data.posixPrefix, 2) == 0 && name[2] == '_') return data.lcid;
  }
  return 0x0409;
}

}  // namespace platform

LCID GetUserDefaultLCID() {
  LCID over = platform::internal::g_override.load();
  return over ? over : platform::internal::environmentLcid();
}

LCID GetSystemDefaultLCID() {
  return GetUserDefaultLCID();
}

LCID GetThreadLocale() {
  return GetUserDefaultLCID();
}

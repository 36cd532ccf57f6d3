#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel.h"
#include "platform/locale.h"

namespace {

constexpr LCID kEnUs = 0x0409;
constexpr LCID kEnGb = 0x0809;
constexpr LCID kEnAu = 0x0C09;
constexpr LCID kDeDe = 0x0407;
constexpr LCID kFrFr = 0x040C;

std::u16string infoW(LCID lcid, LCTYPE type) {
  char16_t buffer[100] = {};
  const int n = GetLocaleInfoW(lcid, type, buffer, 100);
  return n > 0 ? std::u16string(buffer, n - 1) : u"<failed>";
}

struct TextCase {
  LCID lcid;
  LCTYPE type;
  std::u16string_view expected;
};

class LocaleText : public testing::TestWithParam<TextCase> {};

TEST_P(LocaleText, MatchesThePlatformValue) {
  const TextCase& c = GetParam();
  EXPECT_EQ(infoW(c.lcid, c.type), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EnUs, LocaleText,
    testing::Values(
        TextCase{kEnUs, LOCALE_SDECIMAL, u"."}, TextCase{kEnUs, LOCALE_STHOUSAND, u","},
        TextCase{kEnUs, LOCALE_SLIST, u","}, TextCase{kEnUs, LOCALE_SDATE, u"/"},
        TextCase{kEnUs, LOCALE_STIME, u":"}, TextCase{kEnUs, LOCALE_SSHORTDATE, u"M/d/yyyy"},
        TextCase{kEnUs, LOCALE_SLONGDATE, u"dddd, MMMM d, yyyy"},
        TextCase{kEnUs, LOCALE_STIMEFORMAT, u"h:mm:ss tt"}, TextCase{kEnUs, LOCALE_S1159, u"AM"},
        TextCase{kEnUs, LOCALE_S2359, u"PM"}, TextCase{kEnUs, LOCALE_SCURRENCY, u"$"},
        TextCase{kEnUs, LOCALE_SENGLANGUAGE, u"English"}, TextCase{kEnUs, LOCALE_SNAME, u"en-US"},
        TextCase{kEnUs, LOCALE_IFIRSTDAYOFWEEK, u"6"},
        TextCase{kEnUs, LOCALE_IFIRSTWEEKOFYEAR, u"0"}, TextCase{kEnUs, LOCALE_ILANGUAGE, u"0409"},
        TextCase{kEnUs, LOCALE_IDATE, u"0"}, TextCase{kEnUs, LOCALE_ITIME, u"0"},
        TextCase{kEnUs, LOCALE_INEGCURR, u"0"}, TextCase{kEnUs, LOCALE_SDAYNAME1, u"Monday"},
        TextCase{kEnUs, LOCALE_SABBREVMONTHNAME12, u"Dec"},
        TextCase{kEnUs, LOCALE_SGROUPING, u"3;0"},
        TextCase{kEnUs, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE, u"."}));

INSTANTIATE_TEST_SUITE_P(
    Others, LocaleText,
    testing::Values(
        TextCase{kEnGb, LOCALE_SSHORTDATE, u"dd/MM/yyyy"},
        TextCase{kEnGb, LOCALE_SCURRENCY, u"\u00A3"}, TextCase{kEnGb, LOCALE_IFIRSTDAYOFWEEK, u"0"},
        TextCase{kEnGb, LOCALE_ITIME, u"1"}, TextCase{kEnGb, LOCALE_IDATE, u"1"},
        TextCase{kEnAu, LOCALE_SNAME, u"en-AU"}, TextCase{kEnAu, LOCALE_SSHORTDATE, u"d/MM/yyyy"},
        TextCase{kEnAu, LOCALE_IDAYLZERO, u"0"}, TextCase{kEnAu, LOCALE_IMONLZERO, u"1"},
        TextCase{kDeDe, LOCALE_SDECIMAL, u","}, TextCase{kDeDe, LOCALE_STHOUSAND, u"."},
        TextCase{kDeDe, LOCALE_SLIST, u";"}, TextCase{kDeDe, LOCALE_SDATE, u"."},
        TextCase{kDeDe, LOCALE_SLONGDATE, u"dddd, d. MMMM yyyy"},
        TextCase{kDeDe, LOCALE_S1159, u""}, TextCase{kDeDe, LOCALE_SCURRENCY, u"\u20AC"},
        TextCase{kDeDe, LOCALE_SENGLANGUAGE, u"German"},
        TextCase{kDeDe, LOCALE_IFIRSTWEEKOFYEAR, u"2"}, TextCase{kDeDe, LOCALE_ILDATE, u"1"},
        TextCase{kDeDe, LOCALE_SMONTHNAME3, u"M\u00E4rz"},
        TextCase{kFrFr, LOCALE_STHOUSAND, u"\u00A0"},
        TextCase{kFrFr, LOCALE_SENGLANGUAGE, u"French"}, TextCase{kFrFr, LOCALE_ILANGUAGE, u"040c"},
        TextCase{kFrFr, LOCALE_SDAYNAME7, u"dimanche"}));

struct NumberCase {
  LCID lcid;
  LCTYPE type;
  DWORD expected;
};

class LocaleNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(LocaleNumber, WideFormWritesTwoCharacters) {
  const NumberCase& c = GetParam();
  DWORD value = 0xDEADBEEF;
  EXPECT_EQ(GetLocaleInfoW(c.lcid, c.type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                           sizeof(value) / sizeof(WCHAR)),
            2);
  EXPECT_EQ(value, c.expected);
}

TEST_P(LocaleNumber, AnsiFormWritesFourBytes) {
  const NumberCase& c = GetParam();
  DWORD value = 0xDEADBEEF;
  EXPECT_EQ(GetLocaleInfoA(c.lcid, c.type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value),
                           sizeof(value)),
            4);
  EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LocaleNumber,
                         testing::Values(NumberCase{kEnUs, LOCALE_IFIRSTDAYOFWEEK, 6},
                                         NumberCase{kEnUs, LOCALE_IFIRSTWEEKOFYEAR, 0},
                                         NumberCase{kDeDe, LOCALE_IFIRSTDAYOFWEEK, 0},
                                         NumberCase{kDeDe, LOCALE_IFIRSTWEEKOFYEAR, 2},
                                         NumberCase{kEnAu, LOCALE_IFIRSTDAYOFWEEK, 0},
                                         NumberCase{kFrFr, LOCALE_ILANGUAGE, 0x040C},
                                         NumberCase{kEnGb, LOCALE_ICOUNTRY, 44},
                                         NumberCase{kDeDe, LOCALE_ICURRENCY, 3}));

TEST(LocaleInfo, RuntimeReadsTheUserFirstDayOfWeek) {
  platform::ScopedUserLocale us(kEnUs);
  char buffer[4] = {};
  ASSERT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x2000100C, buffer, 4), 4);
  DWORD value;
  std::memcpy(&value, buffer, 4);
  EXPECT_EQ(value, 6u);  // Sunday
  platform::ScopedUserLocale german(kDeDe);
  ASSERT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x2000100C, buffer, 4), 4);
  std::memcpy(&value, buffer, 4);
  EXPECT_EQ(value, 0u);  // Monday
}

TEST(LocaleInfo, SizeZeroReportsTheNeededSize) {
  EXPECT_EQ(GetLocaleInfoW(kEnUs, LOCALE_SLONGDATE, nullptr, 0), 19);
  EXPECT_EQ(GetLocaleInfoA(kEnUs, LOCALE_SLONGDATE, nullptr, 0), 19);
  EXPECT_EQ(GetLocaleInfoW(kEnUs, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER, nullptr, 0), 2);
  EXPECT_EQ(GetLocaleInfoA(kEnUs, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER, nullptr, 0), 4);
}

TEST(LocaleInfo, ShortBufferFailsWithoutWritingPastIt) {
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoW(kEnUs, LOCALE_SSHORTDATE, buffer, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(buffer[3], u'x');
  DWORD value = 0;
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(kEnUs, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<LPSTR>(&value), 3),
            0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(LocaleInfo, AnsiTextIsInCodePage1252) {
  char buffer[8] = {};
  EXPECT_EQ(GetLocaleInfoA(kEnGb, LOCALE_SCURRENCY, buffer, 8), 2);
  EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xA3);
  EXPECT_EQ(GetLocaleInfoA(kDeDe, LOCALE_SCURRENCY, buffer, 8), 2);
  EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0x80);
}

TEST(LocaleInfo, DefaultsFollowTheUserLocale) {
  platform::ScopedUserLocale french(kFrFr);
  for (LCID lcid : {LCID{0}, LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT}) {
    EXPECT_EQ(infoW(lcid, LOCALE_SDECIMAL), u",") << lcid;
  }
  EXPECT_EQ(GetUserDefaultLCID(), kFrFr);
}

struct BadCall {
  LCID lcid;
  LCTYPE type;
  int size;
  DWORD error;
};

class LocaleInfoRejects : public testing::TestWithParam<BadCall> {};

TEST_P(LocaleInfoRejects, FailsWithTheDocumentedError) {
  const BadCall& c = GetParam();
  char16_t buffer[32];
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoW(c.lcid, c.type, c.size < 0 ? buffer : nullptr, c.size), 0);
  EXPECT_EQ(GetLastError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocaleInfoRejects,
    testing::Values(BadCall{kEnUs, 0x7777, 0, ERROR_INVALID_PARAMETER},
                    BadCall{0x0499, LOCALE_SDECIMAL, 0, ERROR_INVALID_PARAMETER},
                    BadCall{kEnUs, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, 0, ERROR_INVALID_FLAGS},
                    BadCall{kEnUs, LOCALE_SDECIMAL | 0x01000000, 0, ERROR_INVALID_FLAGS},
                    BadCall{kEnUs, LOCALE_SDECIMAL, 5, ERROR_INVALID_PARAMETER},
                    BadCall{kEnUs, LOCALE_SDECIMAL, -1, ERROR_INVALID_PARAMETER}));

}  // namespace

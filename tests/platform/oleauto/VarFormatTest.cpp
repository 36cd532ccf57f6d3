#include <gtest/gtest.h>

#include <string>

#include "platform/locale.h"
#include "platform/oleauto.h"
#include "platform/oleauto/ValueObject.h"

namespace {

constexpr LCID kEnUs = 0x0409;
constexpr LCID kDeDe = 0x0407;
constexpr LCID kFrFr = 0x040C;

// 5 March 2024, 13:07:09 (a Tuesday).
constexpr DATE kTuesdayAfternoon = 45356 + (13 * 3600 + 7 * 60 + 9) / 86400.0;

// For failure messages: the pattern with anything beyond ASCII as '?'.
std::string narrow(const char16_t* text) {
  std::string out;
  for (; *text; ++text)
    out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  return out;
}

VARIANT r8(double x) {
  VARIANT v{};
  v.vt = VT_R8;
  v.dblVal = x;
  return v;
}

VARIANT dateValue(DATE x) {
  VARIANT v = r8(x);
  v.vt = VT_DATE;
  return v;
}

VARIANT ofType(VARTYPE vt) {
  VARIANT v{};
  v.vt = vt;
  return v;
}

// Formats and frees; "<null>" for a null result, "<error>" for a failure.
std::u16string format(VARIANT v, const char16_t* pattern, int firstDay = 0, int firstWeek = 0) {
  BSTR out = nullptr;
  const HRESULT hr = VarFormat(&v, const_cast<LPOLESTR>(pattern), firstDay, firstWeek, 0, &out);
  if (FAILED(hr)) return u"<error>";
  if (!out) return u"<null>";
  std::u16string text(out, SysStringLen(out));
  SysFreeString(out);
  return text;
}

struct NumberCase {
  double value;
  const char16_t* pattern;
  std::u16string_view expected;
};

class VarFormatNumber : public testing::TestWithParam<NumberCase> {
 protected:
  platform::ScopedUserLocale locale_{kEnUs};
};

TEST_P(VarFormatNumber, FormatsByThePattern) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(format(r8(c.value), c.pattern), c.expected) << c.value << " with " << narrow(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    TimestampPattern, VarFormatNumber,
    testing::Values(NumberCase{12.3456, u"#0.##0", u"12.346"}, NumberCase{0.5, u"#0.##0", u"0.500"},
                    NumberCase{12.345, u"#0.##0", u"12.345"},
                    NumberCase{1234.5, u"#0.##0", u"1234.500"}, NumberCase{0, u"#0.##0", u"0.000"},
                    NumberCase{12, u"#0.##0", u"12.000"}, NumberCase{0.0004, u"#0.##0", u"0.000"},
                    NumberCase{0.0005, u"#0.##0", u"0.001"}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, VarFormatNumber,
    testing::Values(NumberCase{2.675, u"0.00", u"2.68"}, NumberCase{2.665, u"0.00", u"2.67"},
                    NumberCase{-2.675, u"0.00", u"-2.68"}, NumberCase{0.5, u"0", u"1"},
                    NumberCase{1.5, u"0", u"2"}, NumberCase{2.5, u"0", u"3"},
                    NumberCase{-2.5, u"0", u"-3"}, NumberCase{9.995, u"0.00", u"10.00"},
                    NumberCase{999.9, u"#,##0", u"1,000"}, NumberCase{-0.001, u"0.00", u"-0.00"}));

INSTANTIATE_TEST_SUITE_P(
    Placeholders, VarFormatNumber,
    testing::Values(NumberCase{5, u"#.##", u"5."}, NumberCase{0.5, u"#.##", u".5"},
                    NumberCase{1.5, u".00", u"1.50"}, NumberCase{5, u"000", u"005"},
                    NumberCase{12345, u"00", u"12345"}, NumberCase{0, u"#", u""},
                    NumberCase{1.25, u"0.0#", u"1.25"}, NumberCase{1.2, u"0.0#", u"1.2"},
                    NumberCase{5551234567, u"(###) ###-####", u"(555) 123-4567"}));

INSTANTIATE_TEST_SUITE_P(ThousandsAndScaling, VarFormatNumber,
                         testing::Values(NumberCase{1234567, u"#,##0", u"1,234,567"},
                                         NumberCase{123, u"#,##0", u"123"},
                                         NumberCase{1234, u"#,0", u"1,234"},
                                         NumberCase{1234567, u"#,##0,", u"1,235"},
                                         NumberCase{1234567890, u"0,,", u"1235"},
                                         NumberCase{1234567890, u"0.0,,", u"1234.6"},
                                         NumberCase{-1234567.891, u"#,##0.00", u"-1,234,567.89"}));

INSTANTIATE_TEST_SUITE_P(PercentAndExponent, VarFormatNumber,
                         testing::Values(NumberCase{0.256, u"0%", u"26%"},
                                         NumberCase{0.2567, u"0.0%", u"25.7%"},
                                         NumberCase{1234.5, u"0.00E+00", u"1.23E+03"},
                                         NumberCase{0.000123, u"0.00E+00", u"1.23E-04"},
                                         NumberCase{1234.5, u"0.00e-00", u"1.23e03"},
                                         NumberCase{0.00123, u"0.00E-00", u"1.23E-03"},
                                         NumberCase{12345, u"00.0E+0", u"12.3E+3"},
                                         NumberCase{9.996, u"0.00E+00", u"1.00E+01"},
                                         NumberCase{0, u"0.00E+00", u"0.00E+00"},
                                         NumberCase{-1234.5, u"0.0E+0", u"-1.2E+3"}));

INSTANTIATE_TEST_SUITE_P(Literals, VarFormatNumber,
                         testing::Values(NumberCase{1234.5, u"$#,##0.00", u"$1,234.50"},
                                         NumberCase{-1.5, u"$0.00", u"-$1.50"},
                                         NumberCase{5, u"\"Total: \"0", u"Total: 5"},
                                         NumberCase{5, u"0\\%", u"5%"},
                                         NumberCase{5, u"0 kg", u"5 kg"},
                                         NumberCase{5, u"\\#0", u"#5"},
                                         NumberCase{5, u"0\"a;b\"", u"5a;b"}));

INSTANTIATE_TEST_SUITE_P(
    Sections, VarFormatNumber,
    testing::Values(NumberCase{1234.5, u"#,##0.00;(#,##0.00);\"zero\"", u"1,234.50"},
                    NumberCase{-1234.5, u"#,##0.00;(#,##0.00);\"zero\"", u"(1,234.50)"},
                    NumberCase{0, u"#,##0.00;(#,##0.00);\"zero\"", u"zero"},
                    NumberCase{0, u"#,##0.00;(#,##0.00)", u"0.00"},
                    NumberCase{-1.5, u"0.00;;\"zero\"", u"-1.50"},
                    NumberCase{0, u"0.00;;\"zero\"", u"zero"},
                    NumberCase{-1.5, u"0.00;\"minus \"0.0", u"minus 1.5"},
                    NumberCase{5, u"0;-0;0;\"null\"", u"5"}));

INSTANTIATE_TEST_SUITE_P(
    PlainText, VarFormatNumber,
    testing::Values(NumberCase{12.5, u"", u"12.5"}, NumberCase{-12.5, u"", u"-12.5"},
                    NumberCase{1e20, u"", u"1E+20"}, NumberCase{1.5e-7, u"", u"0.00000015"},
                    NumberCase{0.0001, u"", u"0.0001"}, NumberCase{0.00001, u"", u"0.00001"},
                    NumberCase{1e-11, u"", u"0.00000000001"}, NumberCase{1e-12, u"", u"1E-12"},
                    NumberCase{123456789012345.0, u"", u"123456789012345"},
                    NumberCase{0.1 + 0.2, u"", u"0.3"}, NumberCase{0, u"", u"0"}));

INSTANTIATE_TEST_SUITE_P(
    NamedNumbers, VarFormatNumber,
    testing::Values(NumberCase{1234.5, u"General Number", u"1234.5"},
                    NumberCase{1234.5, u"Currency", u"$1,234.50"},
                    NumberCase{-1234.5, u"Currency", u"($1,234.50)"},
                    NumberCase{1234.567, u"Fixed", u"1234.57"}, NumberCase{0.5, u"fixed", u"0.50"},
                    NumberCase{1234.567, u"Standard", u"1,234.57"},
                    NumberCase{0.1234, u"Percent", u"12.34%"},
                    NumberCase{1234.5, u"Scientific", u"1.23E+03"}, NumberCase{0, u"Yes/No", u"No"},
                    NumberCase{-2, u"Yes/No", u"Yes"}, NumberCase{0, u"True/False", u"False"},
                    NumberCase{1, u"On/Off", u"On"}));

struct LocaleCase {
  LCID lcid;
  double value;
  const char16_t* pattern;
  std::u16string_view expected;
};

class VarFormatLocale : public testing::TestWithParam<LocaleCase> {};

TEST_P(VarFormatLocale, WritesTheLocaleSeparators) {
  const LocaleCase& c = GetParam();
  platform::ScopedUserLocale locale(c.lcid);
  EXPECT_EQ(format(r8(c.value), c.pattern), c.expected) << narrow(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VarFormatLocale,
    testing::Values(LocaleCase{kDeDe, 12.3456, u"#0.##0", u"12,346"},
                    LocaleCase{kDeDe, 1234567.5, u"#,##0.00", u"1.234.567,50"},
                    LocaleCase{kDeDe, 12.5, u"", u"12,5"},
                    LocaleCase{kDeDe, 1234.5, u"Currency", u"1.234,50 \u20AC"},
                    LocaleCase{kDeDe, -1234.5, u"Currency", u"-1.234,50 \u20AC"},
                    LocaleCase{kFrFr, 1234567, u"#,##0", u"1\u00A0234\u00A0567"},
                    LocaleCase{kFrFr, 0.5, u"0.00", u"0,50"}));

struct DateCase {
  DATE value;
  const char16_t* pattern;
  std::u16string_view expected;
  int firstDay = 0;
  int firstWeek = 0;
};

class VarFormatDate : public testing::TestWithParam<DateCase> {
 protected:
  platform::ScopedUserLocale locale_{kEnUs};
};

TEST_P(VarFormatDate, FormatsTheFields) {
  const DateCase& c = GetParam();
  EXPECT_EQ(format(dateValue(c.value), c.pattern, c.firstDay, c.firstWeek), c.expected)
      << narrow(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, VarFormatDate,
    testing::Values(DateCase{kTuesdayAfternoon, u"yyyy-mm-dd hh:nn:ss", u"2024-03-05 13:07:09"},
                    DateCase{kTuesdayAfternoon, u"d/m/yy", u"5/3/24"},
                    DateCase{kTuesdayAfternoon, u"dddd, mmmm d", u"Tuesday, March 5"},
                    DateCase{kTuesdayAfternoon, u"ddd mmm", u"Tue Mar"},
                    DateCase{kTuesdayAfternoon, u"h:mm AM/PM", u"1:07 PM"},
                    DateCase{kTuesdayAfternoon, u"hh:mm:ss am/pm", u"01:07:09 pm"},
                    DateCase{kTuesdayAfternoon, u"h A/P", u"1 P"},
                    DateCase{kTuesdayAfternoon, u"h:m:s", u"13:7:9"},
                    DateCase{kTuesdayAfternoon, u"mm:ss", u"03:09"},
                    DateCase{kTuesdayAfternoon, u"q y", u"1 65"},
                    DateCase{kTuesdayAfternoon, u"\"day \"d", u"day 5"},
                    DateCase{kTuesdayAfternoon, u"ddddd", u"3/5/2024"},
                    DateCase{kTuesdayAfternoon, u"ttttt", u"1:07:09 PM"},
                    DateCase{kTuesdayAfternoon, u"c", u"3/5/2024 1:07:09 PM"},
                    DateCase{-1.25, u"yyyy-mm-dd hh:nn", u"1899-12-29 06:00"},
                    DateCase{-657434.0, u"ddddd", u"1/1/0100"},
                    DateCase{0.9999999, u"hh:nn:ss", u"00:00:00"}));

INSTANTIATE_TEST_SUITE_P(
    Weeks, VarFormatDate,
    testing::Values(DateCase{kTuesdayAfternoon, u"w", u"3", 1},
                    DateCase{kTuesdayAfternoon, u"w", u"2", 2},
                    DateCase{kTuesdayAfternoon, u"w", u"3"},  // en-US starts on Sunday
                    DateCase{45292, u"ww", u"1", 2, 2},       // Monday 1 January 2024
                    DateCase{44197, u"ww", u"53", 2, 2},      // Friday 1 January 2021
                    DateCase{44197, u"ww", u"1", 2, 1}, DateCase{44197, u"ww", u"52", 2, 3},
                    DateCase{44196, u"ww", u"53", 1, 1}));

INSTANTIATE_TEST_SUITE_P(
    NamedDates, VarFormatDate,
    testing::Values(DateCase{kTuesdayAfternoon, u"General Date", u"3/5/2024 1:07:09 PM"},
                    DateCase{45356, u"General Date", u"3/5/2024"},
                    DateCase{0.5, u"General Date", u"12:00:00 PM"},
                    DateCase{kTuesdayAfternoon, u"Long Date", u"Tuesday, March 5, 2024"},
                    DateCase{kTuesdayAfternoon, u"Medium Date", u"05-Mar-24"},
                    DateCase{kTuesdayAfternoon, u"Short Date", u"3/5/2024"},
                    DateCase{kTuesdayAfternoon, u"Long Time", u"1:07:09 PM"},
                    DateCase{kTuesdayAfternoon, u"Medium Time", u"01:07 PM"},
                    DateCase{kTuesdayAfternoon, u"Short Time", u"13:07"},
                    DateCase{kTuesdayAfternoon, u"", u"3/5/2024 1:07:09 PM"},
                    DateCase{0, u"", u"12:00:00 AM"},
                    DateCase{kTuesdayAfternoon, u"0.00", u"45356.55"}));

TEST(VarFormat, GermanDates) {
  platform::ScopedUserLocale german(kDeDe);
  EXPECT_EQ(format(dateValue(kTuesdayAfternoon), u"General Date"), u"05.03.2024 13:07:09");
  EXPECT_EQ(format(dateValue(kTuesdayAfternoon), u"Long Date"), u"Dienstag, 5. M\u00E4rz 2024");
  EXPECT_EQ(format(dateValue(kTuesdayAfternoon), u"d/m/yyyy"), u"5.3.2024");
  EXPECT_EQ(format(dateValue(kTuesdayAfternoon), u"w"), u"2");  // weeks start on Monday
}

TEST(VarFormat, NumbersInDatePatterns) {
  platform::ScopedUserLocale us(kEnUs);
  EXPECT_EQ(format(r8(45356.5), u"hh:nn"), u"12:00");
  EXPECT_EQ(format(r8(1e10), u"yyyy"), u"<error>");
}

TEST(VarFormat, NullShowsTheFourthSectionOrNothing) {
  platform::ScopedUserLocale us(kEnUs);
  EXPECT_EQ(format(ofType(VT_NULL), u"0;-0;\"zero\";\"null\""), u"null");
  EXPECT_EQ(format(ofType(VT_NULL), u"#0.##0"), u"<null>");
  EXPECT_EQ(format(ofType(VT_NULL), u""), u"<null>");
  EXPECT_EQ(format(ofType(VT_NULL), u"Currency"), u"<null>");
}

TEST(VarFormat, EmptyIsZeroForPatterns) {
  platform::ScopedUserLocale us(kEnUs);
  EXPECT_EQ(format(ofType(VT_EMPTY), u""), u"");
  EXPECT_EQ(format(ofType(VT_EMPTY), u"0.00"), u"0.00");
  EXPECT_EQ(format(ofType(VT_EMPTY), u"0;-0;\"zero\""), u"zero");
  EXPECT_EQ(format(ofType(VT_EMPTY), u"Yes/No"), u"No");
}

TEST(VarFormat, OtherValueTypes) {
  platform::ScopedUserLocale us(kEnUs);
  VARIANT boolean = ofType(VT_BOOL);
  boolean.boolVal = VARIANT_TRUE;
  EXPECT_EQ(format(boolean, u""), u"True");
  EXPECT_EQ(format(boolean, u"0"), u"-1");
  EXPECT_EQ(format(boolean, u"True/False"), u"True");
  VARIANT currency = ofType(VT_CY);
  currency.cyVal.int64 = 12345678;  // 1234.5678
  EXPECT_EQ(format(currency, u"0.00"), u"1234.57");
  EXPECT_EQ(format(currency, u""), u"1234.5678");
  VARIANT big = ofType(VT_I8);
  big.llVal = 1234567890123456789;
  EXPECT_EQ(format(big, u"#,##0"), u"1,234,567,890,123,456,789");
  LONG referenced = -42;
  VARIANT byRef = ofType(VT_I4 | VT_BYREF);
  byRef.plVal = &referenced;
  EXPECT_EQ(format(byRef, u"0.0"), u"-42.0");
  VARIANT single = ofType(VT_R4);
  single.fltVal = 0.1f;
  EXPECT_EQ(format(single, u""), u"0.1");
}

TEST(VarFormat, TextPatterns) {
  platform::ScopedUserLocale us(kEnUs);
  auto text = [](const char16_t* s) {
    VARIANT v = ofType(VT_BSTR);
    v.bstrVal = SysAllocString(s);
    return v;
  };
  struct Case {
    const char16_t* value;
    const char16_t* pattern;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"abc", u">", u"ABC"},          {u"ABC", u"<", u"abc"},
      {u"abc", u"@@@@@", u"  abc"},    {u"abc", u"!@@@@@", u"abc  "},
      {u"abcd", u"&&&", u"abcd"},      {u"555123", u"(@@@) @@@", u"(555) 123"},
      {u"", u"@;\"empty\"", u"empty"}, {u"plain", u"", u"plain"},
      {u"words", u"0.00", u"words"},
  };
  for (const Case& c : cases) {
    VARIANT v = text(c.value);
    EXPECT_EQ(format(v, c.pattern), c.expected) << narrow(c.pattern);
    SysFreeString(v.bstrVal);
  }
  EXPECT_EQ(format(r8(12), u"@@@@"), u"  12");
}

struct TextCase {
  LCID lcid;
  const char16_t* value;
  const char16_t* pattern;
  std::u16string_view expected;
};

class VarFormatNumberText : public testing::TestWithParam<TextCase> {};

TEST_P(VarFormatNumberText, FormatsTheNumberOrDateItReads) {
  const TextCase& c = GetParam();
  platform::ScopedUserLocale locale(c.lcid);
  Variant text = Variant::Str(c.value);
  EXPECT_EQ(format(text, c.pattern), c.expected)
      << narrow(c.value) << " with " << narrow(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(Cases, VarFormatNumberText,
                         testing::Values(TextCase{kEnUs, u"12.3456", u"#0.##0", u"12.346"},
                                         TextCase{kDeDe, u"12,3456", u"#0.##0", u"12,346"},
                                         TextCase{kEnUs, u"-5", u"0;(0)", u"(5)"},
                                         TextCase{kEnUs, u"1,234.5", u"Currency", u"$1,234.50"},
                                         TextCase{kEnUs, u"0", u"Yes/No", u"No"},
                                         TextCase{kEnUs, u"3/5/2024", u"yyyy-mm-dd", u"2024-03-05"},
                                         TextCase{kEnUs, u"3/5/2024", u"Long Date",
                                                  u"Tuesday, March 5, 2024"},
                                         TextCase{kEnUs, u"abc", u"Currency", u"abc"},
                                         TextCase{kEnUs, u"12.5", u"", u"12.5"},
                                         TextCase{kEnUs, u"12.50", u"", u"12.50"}));

TEST(VarFormat, ObjectsFormatTheirDefaultValue) {
  platform::ScopedUserLocale us(kEnUs);
  testing_support::ValueObject object(Variant::R8(2.5));
  VARIANT v = ofType(VT_DISPATCH);
  v.pdispVal = &object;
  EXPECT_EQ(format(v, u"0.00"), u"2.50");
  EXPECT_EQ(object.refs(), 1u);
}

TEST(VarFormat, RejectsBadArguments) {
  platform::ScopedUserLocale us(kEnUs);
  VARIANT v = r8(1);
  BSTR out = nullptr;
  EXPECT_EQ(VarFormat(&v, nullptr, 0, 0, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(VarFormat(nullptr, nullptr, 0, 0, 0, &out), E_INVALIDARG);
  EXPECT_EQ(VarFormat(&v, nullptr, 8, 0, 0, &out), E_INVALIDARG);
  EXPECT_EQ(VarFormat(&v, nullptr, 0, 4, 0, &out), E_INVALIDARG);
  VARIANT error = ofType(VT_ERROR);
  EXPECT_EQ(VarFormat(&error, nullptr, 0, 0, 0, &out), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(out, nullptr);
}

constexpr LCID kEsEs = 0x0C0A;
constexpr LCID kPlPl = 0x0415;
constexpr LCID kLocales[] = {kEnUs, kFrFr, kDeDe, kEsEs, kPlPl};

// The text with "." replaced by the locale's decimal separator.
std::u16string inLocale(std::u16string_view text, LCID lcid) {
  std::u16string out(text);
  if (lcid == kEnUs) return out;
  for (char16_t& c : out) {
    if (c == u'.') c = u',';
  }
  return out;
}

VARIANT textValue(const char16_t* s) {
  VARIANT v = ofType(VT_BSTR);
  v.bstrVal = SysAllocString(s);
  return v;
}

std::u16string formatText(const char16_t* value, const char16_t* pattern) {
  VARIANT v = textValue(value);
  std::u16string out = format(v, pattern);
  VariantClear(&v);
  return out;
}

struct FidelityCase {
  const char16_t* pattern;
  std::u16string_view expected;
};

// "y" is the day of the year; m and mm are minutes only right after an
// hour, literals between them allowed.
TEST(VarFormat, DayOfYearAndMinutesOnlyAfterAnHour) {
  const FidelityCase cases[] = {
      {u"y", u"65"},
      {u"yy", u"24"},
      {u"yyyy", u"2024"},
      {u"y-yy", u"65-24"},
      {u"mm", u"03"},
      {u"m", u"3"},
      {u"mm:ss", u"03:09"},
      {u"m s", u"3 9"},
      {u"hh:mm", u"13:07"},
      {u"h mm", u"13 07"},
      {u"h\\:m", u"13:7"},
      {u"hh\"h\"mm", u"13h07"},
      {u"nn:ss", u"07:09"},
      {u"ss mm", u"09 03"},
      {u"hh:mm mm", u"13:07 03"},
      {u"mm/dd hh:mm", u"03/05 13:07"},
  };
  for (LCID lcid : kLocales) {
    platform::ScopedUserLocale locale(lcid);
    for (const FidelityCase& c : cases) {
      SCOPED_TRACE(testing::Message() << narrow(c.pattern) << " in " << std::hex << lcid);
      std::u16string expected(c.expected);
      // The locale's separators stand for ":" and "/".
      if (lcid == kDeDe || lcid == kPlPl) {
        for (char16_t& ch : expected) {
          if (ch == u'/' &&
              std::u16string_view(c.pattern).find(u'/') != std::u16string_view::npos) {
            ch = u'.';
          }
        }
      }
      EXPECT_EQ(format(dateValue(kTuesdayAfternoon), c.pattern), expected);
    }
  }
}

// A "\" literal between character placeholders stays between the same
// placeholders however many characters fill them; < and > act on the
// placeholders after them.
TEST(VarFormat, TextPlaceholdersLiteralsAndCase) {
  struct Case {
    const char16_t* value;
    const char16_t* pattern;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"abcd", u"@@\\-@@", u"ab-cd"},
      {u"abc", u"@@\\-@@", u" a-bc"},
      {u"a", u"@@\\-@@", u"  - a"},
      {u"abcdef", u"@@\\-@@", u"abcd-ef"},
      {u"ab", u"&&\\-&&", u"-ab"},
      {u"abc", u"&&\\-&&", u"a-bc"},
      {u"abc", u"!@@\\-@@", u"ab-c "},
      {u"abc", u"!&&\\-&&", u"ab-c"},
      {u"abcdef", u"!@@\\-@@", u"ab-cdef"},
      {u"1234", u"@\\.@\\.@", u"12.3.4"},
      {u"abcd", u"@@>@@", u"abCD"},
      {u"ABCD", u"@@<@@", u"ABcd"},
      {u"abcd", u">@@<@@", u"ABcd"},
      {u"abcdef", u">@@<@@", u"ABCDef"},
      {u"abcd", u"@@@@>", u"abcd"},
      {u"abc", u">", u"ABC"},
      {u"AbC", u"<", u"abc"},
      {u"abcd", u"!@>@@@", u"aBCD"},
  };
  for (LCID lcid : kLocales) {
    platform::ScopedUserLocale locale(lcid);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << narrow(c.pattern) << " in " << std::hex << lcid);
      EXPECT_EQ(formatText(c.value, c.pattern), c.expected);
    }
  }
}

// A comma followed by a space is text; exponents show as many digits as the
// pattern has 0s after the E, and at least one.
TEST(VarFormat, CommaSpaceLiteralsAndExponentDigits) {
  const NumberCase cases[] = {
      {12, u"0, 0", u"1, 2"},
      {1234, u"#, ##0", u"1, 234"},
      {1234567, u"#,##0", u"1,234,567"},
      {5, u"0, \"kg\"", u"5, kg"},
      {12345, u"0.00E+00", u"1.23E+04"},
      {12345, u"0.00E+0", u"1.23E+4"},
      {12345, u"0.00E+000", u"1.23E+004"},
      {12345, u"0.00E+", u"1.23E+4"},
      {12345, u"0.00E+#", u"1.23E+4"},
      {12345, u"0.00E+#0", u"1.23E+4"},
      {12345, u"0.00E-", u"1.23E4"},
      {1.5e15, u"0.0E+0", u"1.5E+15"},
      {1.5e-15, u"0.0E-0", u"1.5E-15"},
      {0.00012345, u"0.00E-000", u"1.23E-004"},
      {1.5, u"0.0E+", u"1.5E+0"},
  };
  for (LCID lcid : kLocales) {
    platform::ScopedUserLocale locale(lcid);
    for (const NumberCase& c : cases) {
      SCOPED_TRACE(testing::Message() << narrow(c.pattern) << " in " << std::hex << lcid);
      std::u16string expected = inLocale(c.expected, lcid);
      if (std::u16string_view(c.pattern).find(u",#") != std::u16string_view::npos) {
        // The grouping of a real group separator is the locale's.
        expected = lcid == kEnUs                    ? u"1,234,567"
                   : lcid == kFrFr || lcid == kPlPl ? u"1\u00A0234\u00A0567"
                                                    : u"1.234.567";
      }
      EXPECT_EQ(format(r8(c.value), c.pattern), expected);
    }
  }
}

TEST(VarFormat, TokenizedFormatsFormatInTheGivenLocale) {
  BYTE tokens[256];
  int used = 0;
  ASSERT_EQ(VarTokenizeFormatString(const_cast<LPOLESTR>(u"#,##0.00"), tokens, sizeof tokens, 0, 0,
                                    kEnUs, &used),
            S_OK);
  EXPECT_GT(used, 0);
  EXPECT_LE(used, static_cast<int>(sizeof tokens));
  const struct {
    LCID lcid;
    std::u16string_view expected;
  } cases[] = {{kEnUs, u"1,234.50"},
               {kFrFr, u"1\u00A0234,50"},
               {kDeDe, u"1.234,50"},
               {kEsEs, u"1.234,50"},
               {kPlPl, u"1\u00A0234,50"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid);
    VARIANT v = r8(1234.5);
    BSTR out = nullptr;
    ASSERT_EQ(VarFormatFromTokens(&v, nullptr, tokens, 0, &out, c.lcid), S_OK);
    EXPECT_EQ(Bstr::Adopt(out).view(), c.expected);
  }
  // The same tokens give what VarFormat gives.
  platform::ScopedUserLocale german(kDeDe);
  VARIANT v = r8(1234.5);
  BSTR direct = nullptr;
  ASSERT_EQ(VarFormat(&v, const_cast<LPOLESTR>(u"#,##0.00"), 0, 0, 0, &direct), S_OK);
  EXPECT_EQ(Bstr::Adopt(direct).view(), u"1.234,50");
}

TEST(VarFormat, TokenizedFormatsKeepTheirWeekSettings) {
  BYTE tokens[64];
  // 5 March 2024 is a Tuesday: day 3 of a week from Sunday, day 1 from Tuesday.
  ASSERT_EQ(VarTokenizeFormatString(const_cast<LPOLESTR>(u"w"), tokens, sizeof tokens, 3, 1, kEnUs,
                                    nullptr),
            S_OK);
  VARIANT v = dateValue(kTuesdayAfternoon);
  BSTR out = nullptr;
  ASSERT_EQ(VarFormatFromTokens(&v, nullptr, tokens, 0, &out, kEnUs), S_OK);
  EXPECT_EQ(Bstr::Adopt(out).view(), u"1");
}

TEST(VarFormat, TokenizingRejectsBadArguments) {
  BYTE tokens[64];
  int used = -1;
  LPOLESTR pattern = const_cast<LPOLESTR>(u"0.00");
  EXPECT_EQ(VarTokenizeFormatString(pattern, tokens, 4, 0, 0, kEnUs, &used), DISP_E_BUFFERTOOSMALL);
  EXPECT_EQ(used, -1);
  EXPECT_EQ(VarTokenizeFormatString(pattern, nullptr, 64, 0, 0, kEnUs, &used), E_INVALIDARG);
  EXPECT_EQ(VarTokenizeFormatString(pattern, tokens, 64, 8, 0, kEnUs, &used), E_INVALIDARG);
  EXPECT_EQ(VarTokenizeFormatString(pattern, tokens, 64, 0, 4, kEnUs, &used), E_INVALIDARG);
  EXPECT_EQ(VarTokenizeFormatString(pattern, tokens, -1, 0, 0, kEnUs, &used), E_INVALIDARG);
  // A null format is the empty one.
  ASSERT_EQ(VarTokenizeFormatString(nullptr, tokens, 64, 0, 0, kEnUs, &used), S_OK);
  VARIANT v = r8(2.5);
  BSTR out = nullptr;
  ASSERT_EQ(VarFormatFromTokens(&v, nullptr, tokens, 0, &out, kEnUs), S_OK);
  EXPECT_EQ(Bstr::Adopt(out).view(), u"2.5");
  // Bytes that no tokenizer wrote are refused.
  BYTE garbage[64] = {1, 2, 3};
  EXPECT_EQ(VarFormatFromTokens(&v, nullptr, garbage, 0, &out, kEnUs), E_INVALIDARG);
  EXPECT_EQ(VarFormatFromTokens(&v, nullptr, nullptr, 0, &out, kEnUs), E_INVALIDARG);
  EXPECT_EQ(VarFormatFromTokens(&v, nullptr, tokens, 0, nullptr, kEnUs), E_INVALIDARG);
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/locale.h"
#include "platform/oleauto.h"

namespace {

constexpr LCID kEnglishUS = 0x0409;
constexpr LCID kGerman = 0x0407;

std::u16string Take(BSTR s) {
  Bstr owned = Bstr::Adopt(s);
  return std::u16string(owned.view());
}

std::u16string R8(double value, LCID lcid = kEnglishUS) {
  BSTR out = nullptr;
  EXPECT_EQ(VarBstrFromR8(value, lcid, 0, &out), S_OK);
  return Take(out);
}

struct RealCase {
  double in;
  const char16_t* text;
};

TEST(NumberText, DoublesWithFifteenDigitsAndTheScientificSwitch) {
  const RealCase cases[] = {
      {0, u"0"},
      {-0.0, u"0"},
      {1, u"1"},
      {-5, u"-5"},
      {2.5, u"2.5"},
      {0.1, u"0.1"},
      {1.0 / 3.0, u"0.333333333333333"},
      {2.0 / 3.0, u"0.666666666666667"},
      {123456789012345.0, u"123456789012345"},
      {1234567890123456.0, u"1.23456789012346E+15"},
      {100000000000000.0, u"100000000000000"},
      {1e15, u"1E+15"},
      {999999999999999.9, u"1E+15"},
      {1e16, u"1E+16"},
      {1e100, u"1E+100"},
      {-1e300, u"-1E+300"},
      {0.0001, u"0.0001"},
      {0.00012345, u"0.00012345"},
      {0.00001, u"0.00001"},
      {0.000015, u"0.000015"},
      {1.5e-7, u"0.00000015"},
      {-2.5e-10, u"-0.00000000025"},
      {4.94065645841247e-324, u"4.94065645841247E-324"},
      {0.1 + 0.2, u"0.3"},
      {12.3456, u"12.3456"},
  };
  for (const RealCase& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(R8(c.in), c.text);
  }
}

TEST(NumberText, DoublesUseTheLocaleDecimalSeparator) {
  EXPECT_EQ(R8(0.1, kGerman), u"0,1");
  EXPECT_EQ(R8(1.5e-7, kGerman), u"0,00000015");
  platform::ScopedUserLocale german(kGerman);
  EXPECT_EQ(R8(2.5, LOCALE_USER_DEFAULT), u"2,5");
  EXPECT_EQ(R8(2.5, 0), u"2,5");
}

TEST(NumberText, NonFiniteDoublesDoNotFail) {
  EXPECT_EQ(R8(INFINITY), u"1.#INF");
  EXPECT_EQ(R8(-INFINITY), u"-1.#INF");
  EXPECT_FALSE(R8(NAN).empty());
}

TEST(NumberText, SinglesWithSevenDigits) {
  const std::pair<float, const char16_t*> cases[] = {
      {0.1f, u"0.1"},           {1.0f / 3.0f, u"0.3333333"},
      {1234567.0f, u"1234567"}, {12345678.0f, u"1.234568E+07"},
      {1e7f, u"1E+07"},         {0.00001f, u"0.00001"},
      {-2.5f, u"-2.5"},         {3.4028235e38f, u"3.402823E+38"},
  };
  for (const auto& [in, text] : cases) {
    SCOPED_TRACE(in);
    BSTR out = nullptr;
    ASSERT_EQ(VarBstrFromR4(in, kEnglishUS, 0, &out), S_OK);
    EXPECT_EQ(Take(out), text);
  }
}

TEST(NumberText, IntegersCurrencyAndBooleans) {
  BSTR out = nullptr;
  ASSERT_EQ(VarBstrFromI4(-2147483647 - 1, 0, 0, &out), S_OK);
  EXPECT_EQ(Take(out), u"-2147483648");
  ASSERT_EQ(VarBstrFromI8(INT64_MIN, 0, 0, &out), S_OK);
  EXPECT_EQ(Take(out), u"-9223372036854775808");

  const std::pair<int64_t, const char16_t*> currency[] = {
      {0, u"0"},
      {10000, u"1"},
      {15000, u"1.5"},
      {-1, u"-0.0001"},
      {12345, u"1.2345"},
      {1234500, u"123.45"},
      {INT64_MIN, u"-922337203685477.5808"},
  };
  for (const auto& [scaled, text] : currency) {
    CY cy{};
    cy.int64 = scaled;
    ASSERT_EQ(VarBstrFromCy(cy, kEnglishUS, 0, &out), S_OK);
    EXPECT_EQ(Take(out), text);
  }
  CY half{};
  half.int64 = 5000;
  ASSERT_EQ(VarBstrFromCy(half, kGerman, 0, &out), S_OK);
  EXPECT_EQ(Take(out), u"0,5");

  ASSERT_EQ(VarBstrFromBool(VARIANT_TRUE, 0, 0, &out), S_OK);
  EXPECT_EQ(Take(out), u"True");
  ASSERT_EQ(VarBstrFromBool(VARIANT_FALSE, 0, 0, &out), S_OK);
  EXPECT_EQ(Take(out), u"False");
  EXPECT_EQ(VarBstrFromI4(1, 0, 0, nullptr), E_INVALIDARG);
}

struct ParseCase {
  const char16_t* text;
  LCID lcid;
  HRESULT hr;
  double value;
};

TEST(NumberText, TextToDoubleUnderTheLocale) {
  const ParseCase cases[] = {
      {u"2.5", kEnglishUS, S_OK, 2.5},
      {u"  -2.5  ", kEnglishUS, S_OK, -2.5},
      {u"1,234.5", kEnglishUS, S_OK, 1234.5},
      {u"$1,234.50", kEnglishUS, S_OK, 1234.5},
      {u"1.5E+3", kEnglishUS, S_OK, 1500},
      {u"&H10", kEnglishUS, S_OK, 16},
      {u"2,5", kGerman, S_OK, 2.5},
      {u"1.234,5", kGerman, S_OK, 1234.5},
      {u"1.234,56 \u20AC", kGerman, S_OK, 1234.56},
      {u"2.5", kGerman, S_OK, 25},
      {u"2,5", kEnglishUS, S_OK, 25},
      {u"x", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"1.5.5", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"--1", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"(1", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    DOUBLE value = -99;
    ASSERT_EQ(VarR8FromStr(c.text, c.lcid, 0, &value), c.hr);
    if (c.hr == S_OK) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
  DOUBLE value = 0;
  EXPECT_EQ(VarR8FromStr(nullptr, 0, 0, &value), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VarR8FromStr(u"1", 0, 0, nullptr), E_INVALIDARG);
}

TEST(NumberText, StrictIntegerTexts) {
  LONG port = 0;
  EXPECT_EQ(VarI4FromStr(u"65535", 0x0C09, 0, &port), S_OK);
  EXPECT_EQ(port, 65535);
  EXPECT_EQ(VarI4FromStr(u"-1", 0x0C09, 0, &port), S_OK);
  EXPECT_EQ(port, -1);
  EXPECT_EQ(VarI4FromStr(u"80x", 0x0C09, 0, &port), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VarI4FromStr(u"", 0x0C09, 0, &port), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VarI4FromStr(u"2147483648", 0x0C09, 0, &port), DISP_E_OVERFLOW);
  LONG64 big = 0;
  EXPECT_EQ(VarI8FromStr(u"-9223372036854775808", 0, 0, &big), S_OK);
  EXPECT_EQ(big, INT64_MIN);
  EXPECT_EQ(VarI8FromStr(u"9223372036854775808", 0, 0, &big), DISP_E_OVERFLOW);
  VARIANT_BOOL flag = 0;
  EXPECT_EQ(VarBoolFromStr(u"Truth", 0, 0, &flag), DISP_E_TYPEMISMATCH);
}

constexpr LCID kFrench = 0x040C;
constexpr LCID kSpanish = 0x0C0A;
constexpr LCID kPolish = 0x0415;
constexpr LCID kLocales[] = {kEnglishUS, kFrench, kGerman, kSpanish, kPolish};

// The text with "." replaced by the locale's decimal separator.
std::u16string InLocale(std::u16string_view text, LCID lcid) {
  std::u16string out(text);
  if (lcid == kEnglishUS) return out;
  for (char16_t& c : out) {
    if (c == u'.') c = u',';
  }
  return out;
}

std::u16string R4(float value, LCID lcid) {
  BSTR out = nullptr;
  EXPECT_EQ(VarBstrFromR4(value, lcid, 0, &out), S_OK);
  return Take(out);
}

// Plain notation from 1E-11 up to (not including) 1E15 for doubles and 1E7
// for singles, with 15 and 7 significant digits; exponent notation outside.
TEST(NumberText, PlainNotationBetweenTheExponentLimitsInEveryLocale) {
  const RealCase doubles[] = {
      {-0.00001, u"-0.00001"},
      {0.5, u"0.5"},
      {1e-11, u"0.00000000001"},
      {1.5e-11, u"0.000000000015"},
      {-1.25e-11, u"-0.0000000000125"},
      {9.99e-12, u"9.99E-12"},
      {1e-12, u"1E-12"},
      {1.2345678901234567e-5, u"0.0000123456789012346"},
      {99999999999999.9, u"99999999999999.9"},
      {999999999999999.0, u"999999999999999"},
      {1.2e15, u"1.2E+15"},
      {-1.5e300, u"-1.5E+300"},
      {2.5e-300, u"2.5E-300"},
  };
  const struct {
    float in;
    const char16_t* text;
  } singles[] = {
      {0.5f, u"0.5"},         {1234567.0f, u"1234567"}, {12345678.0f, u"1.234568E+07"},
      {0.1f, u"0.1"},         {1e-5f, u"0.00001"},      {1e-11f, u"0.00000000001"},
      {1.5e-12f, u"1.5E-12"}, {-2.5f, u"-2.5"},         {3.4e38f, u"3.4E+38"},
  };
  for (LCID lcid : kLocales) {
    for (const RealCase& c : doubles) {
      SCOPED_TRACE(testing::Message() << c.in << " in " << std::hex << lcid);
      EXPECT_EQ(R8(c.in, lcid), InLocale(c.text, lcid));
    }
    for (const auto& c : singles) {
      SCOPED_TRACE(testing::Message() << c.in << " as a single in " << std::hex << lcid);
      EXPECT_EQ(R4(c.in, lcid), InLocale(c.text, lcid));
    }
  }
}

TEST(NumberText, SpanishWritesADecimalComma) {
  EXPECT_EQ(R8(0.5, kSpanish), u"0,5");
  EXPECT_EQ(R8(1.2e15, kSpanish), u"1,2E+15");
  EXPECT_EQ(R8(-0.00001, kSpanish), u"-0,00001");
}

TEST(NumberText, CurrencyInEveryLocale) {
  const struct {
    int64_t scaled;
    const char16_t* text;
  } cases[] = {
      {125000, u"12.5"},
      {-5, u"-0.0005"},
      {10000, u"1"},
      {0, u"0"},
      {INT64_MAX, u"922337203685477.5807"},
  };
  for (LCID lcid : kLocales) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << c.scaled << " in " << std::hex << lcid);
      CY cy;
      cy.int64 = c.scaled;
      BSTR out = nullptr;
      ASSERT_EQ(VarBstrFromCy(cy, lcid, 0, &out), S_OK);
      EXPECT_EQ(Take(out), InLocale(c.text, lcid));
    }
  }
}

TEST(NumberText, YearsBelowOneThousandAreNotPadded) {
  struct DateCase {
    DATE date;
    LCID lcid;
    const char16_t* text;
  };
  const DateCase cases[] = {
      {-657434, kEnglishUS, u"1/1/100"},
      {-657434, kFrench, u"01/01/100"},
      {-657434, kGerman, u"01.01.100"},
      {-657434, kSpanish, u"01/01/100"},
      {-657434, kPolish, u"01.01.100"},
      {-328717, kEnglishUS, u"12/31/999"},
      {-328717, kGerman, u"31.12.999"},
      {-328716, kEnglishUS, u"1/1/1000"},
      {-328716, kPolish, u"01.01.1000"},
      {-657434.5, kEnglishUS, u"1/1/100 12:00:00 PM"},
      {-657434.5, kFrench, u"01/01/100 12:00:00"},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.date << " in " << std::hex << c.lcid);
    BSTR out = nullptr;
    ASSERT_EQ(VarBstrFromDate(c.date, c.lcid, 0, &out), S_OK);
    EXPECT_EQ(Take(out), c.text);
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/oleauto.h"

namespace {

// The flags and room the runtime's Val uses.
constexpr ULONG kValFlags = 0x954;
constexpr LCID kEnglishUS = 0x0409;

struct Parsed {
  HRESULT hr;
  NUMPARSE numprs;
  std::vector<int> digits;
};

Parsed Parse(const char16_t* text, ULONG flags, int room = 32, LCID lcid = kEnglishUS) {
  Parsed p{};
  std::vector<BYTE> digits(room > 0 ? room : 1, 0xEE);
  p.numprs.cDig = room;
  p.numprs.dwInFlags = flags;
  p.hr = VarParseNumFromStr(text, lcid, 0, &p.numprs, digits.data());
  for (int i = 0; SUCCEEDED(p.hr) && i < p.numprs.cDig; ++i)
    p.digits.push_back(digits[i]);
  return p;
}

// Val's two steps: the parse, then the conversion to a double.
HRESULT ValOf(const char16_t* text, double* value, int* used) {
  BYTE digits[32];
  NUMPARSE numprs{};
  numprs.cDig = 32;
  numprs.dwInFlags = kValFlags;
  HRESULT hr = VarParseNumFromStr(text, kEnglishUS, 0, &numprs, digits);
  *used = numprs.cchUsed;
  if (FAILED(hr)) return hr;
  Variant out;
  hr = VarNumFromParseNum(&numprs, digits, VTBIT_R8, &out);
  if (SUCCEEDED(hr)) *value = out.dblVal;
  return hr;
}

struct ValCase {
  const char16_t* text;
  HRESULT hr;
  double value;
  int used;
};

TEST(ParseNumber, TheValConversions) {
  const ValCase cases[] = {
      {u"42abc", S_OK, 42, 2},
      {u"-1e3", S_OK, -1000, 4},
      {u"+2.5", S_OK, 2.5, 4},
      {u"&H10", S_OK, 16, 4},
      {u"&HFFFF", S_OK, 65535, 6},
      {u"&hffff&", S_OK, 65535, 6},
      {u"&H8000", S_OK, 32768, 6},
      {u"&H10000", S_OK, 65536, 7},
      {u"&HFFFFFFFF", S_OK, 4294967295.0, 10},
      {u"&O17", S_OK, 15, 4},
      {u"&O18", S_OK, 1, 3},
      {u"3,5", S_OK, 3, 1},
      {u"3.5", S_OK, 3.5, 3},
      {u"1.5%", S_OK, 1.5, 3},
      {u"12%", S_OK, 12, 2},
      {u".5", S_OK, 0.5, 2},
      {u"5.", S_OK, 5, 2},
      {u"1e", S_OK, 1, 1},
      {u"1e+", S_OK, 1, 1},
      {u"1e-x", S_OK, 1, 1},
      {u"1E+2x", S_OK, 100, 4},
      {u"1d2", S_OK, 100, 3},
      {u"2.5e-3", S_OK, 0.0025, 6},
      {u"0", S_OK, 0, 1},
      {u"000", S_OK, 0, 3},
      {u"0.000", S_OK, 0, 5},
      {u"007", S_OK, 7, 3},
      {u"1e400", DISP_E_OVERFLOW, 0, 5},
      {u"1e-400", S_OK, 0, 6},
      {u"123456789012345678901234567890123456789", S_OK, 1.2345678901234568e38, 39},
      {u"abc", DISP_E_TYPEMISMATCH, 0, 0},
      {u"", DISP_E_TYPEMISMATCH, 0, 0},
      {u".", DISP_E_TYPEMISMATCH, 0, 0},
      {u"-", DISP_E_TYPEMISMATCH, 0, 0},
      {u"e5", DISP_E_TYPEMISMATCH, 0, 0},
      {u"&H", DISP_E_TYPEMISMATCH, 0, 0},
      {u"&Hx", DISP_E_TYPEMISMATCH, 0, 0},
      {u" 1", DISP_E_TYPEMISMATCH, 0, 0},  // Val strips white space itself
      {u"$5", DISP_E_TYPEMISMATCH, 0, 0},
  };
  for (const ValCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    double value = -99;
    int used = -1;
    EXPECT_EQ(ValOf(c.text, &value, &used), c.hr);
    EXPECT_EQ(used, c.used);
    if (c.hr == S_OK) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

TEST(ParseNumber, DescribesDigitsSignAndPowerOfTen) {
  Parsed p = Parse(u"-12.5000e2", NUMPRS_STD);
  ASSERT_EQ(p.hr, S_OK);
  EXPECT_EQ(p.digits, (std::vector<int>{1, 2, 5}));  // trailing zeros stripped
  EXPECT_EQ(p.numprs.nPwr10, 1);                     // -12.5e2 = -125 x 10^1
  EXPECT_EQ(p.numprs.nBaseShift, 0);
  EXPECT_EQ(p.numprs.cchUsed, 10);
  EXPECT_EQ(p.numprs.dwOutFlags,
            NUMPRS_LEADING_MINUS | NUMPRS_NEG | NUMPRS_DECIMAL | NUMPRS_EXPONENT);

  p = Parse(u"0.0025", NUMPRS_DECIMAL);
  EXPECT_EQ(p.digits, (std::vector<int>{2, 5}));
  EXPECT_EQ(p.numprs.nPwr10, -4);

  p = Parse(u"&H1F", NUMPRS_HEX_OCT);
  EXPECT_EQ(p.digits, (std::vector<int>{1, 15}));
  EXPECT_EQ(p.numprs.nBaseShift, 4);
  EXPECT_EQ(p.numprs.dwOutFlags, NUMPRS_HEX_OCT);

  p = Parse(u"&O70", NUMPRS_HEX_OCT);
  EXPECT_EQ(p.digits, (std::vector<int>{7, 0}));  // no stripping outside base 10
  EXPECT_EQ(p.numprs.nBaseShift, 3);

  p = Parse(u"0.00", NUMPRS_DECIMAL);
  EXPECT_EQ(p.digits, (std::vector<int>{0}));
  EXPECT_EQ(p.numprs.nPwr10, -2);  // the zeros after the point still count
}

TEST(ParseNumber, EveryInputFlagEnablesItsSyntax) {
  struct FlagCase {
    const char16_t* text;
    ULONG flag;
    int usedWith;     // characters consumed with the flag
    int usedWithout;  // and without it (-1: no number at all)
  };
  const FlagCase cases[] = {
      {u"  5", NUMPRS_LEADING_WHITE, 3, -1}, {u"5  ", NUMPRS_TRAILING_WHITE, 3, 1},
      {u"+5", NUMPRS_LEADING_PLUS, 2, -1},   {u"5+", NUMPRS_TRAILING_PLUS, 2, 1},
      {u"-5", NUMPRS_LEADING_MINUS, 2, -1},  {u"5-", NUMPRS_TRAILING_MINUS, 2, 1},
      {u"&H5", NUMPRS_HEX_OCT, 3, -1},       {u"(5)", NUMPRS_PARENS, 3, -1},
      {u"5.5", NUMPRS_DECIMAL, 3, 1},        {u"5,000", NUMPRS_THOUSANDS, 5, 1},
      {u"$5", NUMPRS_CURRENCY, 2, -1},       {u"5$", NUMPRS_CURRENCY, 2, 1},
      {u"5e2", NUMPRS_EXPONENT, 3, 1},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    Parsed with = Parse(c.text, c.flag);
    ASSERT_EQ(with.hr, S_OK);
    EXPECT_EQ(with.numprs.cchUsed, c.usedWith);
    EXPECT_TRUE(with.numprs.dwOutFlags & c.flag);
    Parsed without = Parse(c.text, 0);
    if (c.usedWithout < 0) {
      EXPECT_EQ(without.hr, DISP_E_TYPEMISMATCH);
    } else {
      ASSERT_EQ(without.hr, S_OK);
      EXPECT_EQ(without.numprs.cchUsed, c.usedWithout);
      EXPECT_EQ(without.numprs.dwOutFlags, 0u);
    }
  }
  // NUMPRS_USE_ALL turns a partial parse into a failure.
  EXPECT_EQ(Parse(u"5x", NUMPRS_USE_ALL).hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Parse(u"5", NUMPRS_USE_ALL).hr, S_OK);
  // An opened parenthesis must be closed, and means a negative number.
  EXPECT_EQ(Parse(u"(5", NUMPRS_PARENS).hr, DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(Parse(u"(5)", NUMPRS_PARENS).numprs.dwOutFlags & NUMPRS_NEG);
  // The flag argument enables syntax as well as dwInFlags.
  BYTE digits[8];
  NUMPARSE numprs{};
  numprs.cDig = 8;
  ASSERT_EQ(VarParseNumFromStr(u"-1.5", kEnglishUS, NUMPRS_LEADING_MINUS | NUMPRS_DECIMAL, &numprs,
                               digits),
            S_OK);
  EXPECT_EQ(numprs.cchUsed, 4);
}

TEST(ParseNumber, DigitRoomAndInexactResults) {
  Parsed p = Parse(u"123456", 0, 4);
  ASSERT_EQ(p.hr, S_OK);
  EXPECT_EQ(p.digits, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(p.numprs.nPwr10, 2);
  EXPECT_TRUE(p.numprs.dwOutFlags & NUMPRS_INEXACT);
  EXPECT_EQ(p.numprs.cchUsed, 6);

  // Dropped zeros lose nothing.
  p = Parse(u"1234000", 0, 4);
  EXPECT_EQ(p.digits, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(p.numprs.nPwr10, 3);
  EXPECT_FALSE(p.numprs.dwOutFlags & NUMPRS_INEXACT);

  // Fraction digits beyond the room are simply lost.
  p = Parse(u"1.23456", NUMPRS_DECIMAL, 3);
  EXPECT_EQ(p.digits, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(p.numprs.nPwr10, -2);
  EXPECT_TRUE(p.numprs.dwOutFlags & NUMPRS_INEXACT);

  BYTE digit;
  NUMPARSE numprs{};
  numprs.cDig = 0;
  EXPECT_EQ(VarParseNumFromStr(u"1", 0, 0, &numprs, &digit), E_INVALIDARG);
  EXPECT_EQ(VarParseNumFromStr(u"1", 0, 0, nullptr, &digit), E_INVALIDARG);
}

struct TypeCase {
  const char16_t* text;
  ULONG vtBits;
  HRESULT hr;
  VARTYPE vt;
};

TEST(ParseNumber, SmallestAllowedTypeThatHoldsTheValue) {
  constexpr ULONG kIntegers =
      VTBIT_I1 | VTBIT_UI1 | VTBIT_I2 | VTBIT_UI2 | VTBIT_I4 | VTBIT_UI4 | VTBIT_I8 | VTBIT_UI8;
  const TypeCase cases[] = {
      {u"100", kIntegers, S_OK, VT_I1},
      {u"200", kIntegers, S_OK, VT_UI1},
      {u"-200", kIntegers, S_OK, VT_I2},
      {u"40000", kIntegers, S_OK, VT_UI2},
      {u"-40000", kIntegers, S_OK, VT_I4},
      {u"3000000000", kIntegers, S_OK, VT_UI4},
      {u"-3000000000", kIntegers, S_OK, VT_I8},
      {u"10000000000000000000", kIntegers, S_OK, VT_UI8},
      {u"100000000000000000000", kIntegers, DISP_E_OVERFLOW, VT_EMPTY},
      {u"100000000000000000000", kIntegers | VTBIT_R8, S_OK, VT_R8},
      {u"2.5", kIntegers | VTBIT_R8, S_OK, VT_R8},
      {u"2.5", VTBIT_I2 | VTBIT_CY, S_OK, VT_CY},
      {u"2.5", VTBIT_R4 | VTBIT_R8, S_OK, VT_R4},
      {u"1e39", VTBIT_R4 | VTBIT_R8, S_OK, VT_R8},
      {u"1e39", VTBIT_R4, DISP_E_OVERFLOW, VT_EMPTY},
      {u"2.5", VTBIT_I2, S_OK, VT_I2},
      {u"&HFF", VTBIT_I1 | VTBIT_I2, S_OK, VT_I1},
      {u"&HFFFF", VTBIT_I2 | VTBIT_I4, S_OK, VT_I2},
      {u"&HFFFF", VTBIT_I4, S_OK, VT_I4},
      {u"&H1FFFF", VTBIT_I2, DISP_E_OVERFLOW, VT_EMPTY},
      {u"&HFFFFFFFFFFFFFFFFF", VTBIT_R8, DISP_E_OVERFLOW, VT_EMPTY},
      {u"5", VTBIT_DECIMAL, S_OK, VT_DECIMAL},
      {u"2.5", VTBIT_I4 | VTBIT_DECIMAL, S_OK, VT_DECIMAL},
      {u"1e30", VTBIT_DECIMAL, DISP_E_OVERFLOW, VT_EMPTY},
  };
  for (const TypeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    BYTE digits[40];
    NUMPARSE numprs{};
    numprs.cDig = 40;
    numprs.dwInFlags = NUMPRS_STD;
    ASSERT_EQ(VarParseNumFromStr(c.text, kEnglishUS, 0, &numprs, digits), S_OK);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VarNumFromParseNum(&numprs, digits, c.vtBits, &out), c.hr);
    EXPECT_EQ(out.vt, c.vt);
  }
}

TEST(ParseNumber, ConversionRejectsBrokenDescriptions) {
  BYTE digits[] = {1, 12};
  NUMPARSE numprs{};
  numprs.cDig = 2;
  VARIANT out;
  EXPECT_EQ(VarNumFromParseNum(&numprs, digits, VTBIT_R8, &out), E_INVALIDARG);
  numprs.nBaseShift = 4;
  EXPECT_EQ(VarNumFromParseNum(&numprs, digits, VTBIT_R8, &out), S_OK);
  EXPECT_EQ(out.dblVal, 28.0);
  numprs.nBaseShift = 5;
  EXPECT_EQ(VarNumFromParseNum(&numprs, digits, VTBIT_R8, &out), E_INVALIDARG);
  numprs.nBaseShift = 0;
  numprs.cDig = 1;
  numprs.nPwr10 = 1 << 30;
  EXPECT_EQ(VarNumFromParseNum(&numprs, digits, VTBIT_R8 | VTBIT_I4, &out), DISP_E_OVERFLOW);
  numprs.nPwr10 = -(1 << 30);
  EXPECT_EQ(VarNumFromParseNum(&numprs, digits, VTBIT_R8, &out), S_OK);
  EXPECT_EQ(out.dblVal, 0.0);
  EXPECT_EQ(VarNumFromParseNum(nullptr, digits, VTBIT_R8, &out), E_INVALIDARG);
}

constexpr LCID kFrench = 0x040C;
constexpr LCID kGerman = 0x0407;
constexpr LCID kSpanish = 0x0C0A;
constexpr LCID kPolish = 0x0415;
constexpr LCID kLocales[] = {kEnglishUS, kFrench, kGerman, kSpanish, kPolish};

// The text with "." replaced by the locale's decimal separator.
std::u16string InLocale(std::u16string text, LCID lcid) {
  if (lcid == kEnglishUS) return text;
  for (char16_t& c : text) {
    if (c == u'.') c = u',';
  }
  return text;
}

struct DescriptionCase {
  const char16_t* text;
  HRESULT hr;
  int used;
  std::vector<int> digits;
  int pwr10;
};

TEST(ParseNumber, ZerosAfterTheDecimalPointCountInThePowerOfTen) {
  const DescriptionCase cases[] = {
      {u".000", S_OK, 4, {0}, -3},    {u"0.0", S_OK, 3, {0}, -1},      {u"00.00", S_OK, 5, {0}, -2},
      {u"0", S_OK, 1, {0}, 0},        {u"000", S_OK, 3, {0}, 0},       {u"0.", S_OK, 2, {0}, 0},
      {u"0.000e2", S_OK, 7, {0}, -1}, {u"1.500", S_OK, 5, {1, 5}, -1}, {u"0.010", S_OK, 5, {1}, -2},
      {u"100", S_OK, 3, {1}, 2},
  };
  for (LCID lcid : kLocales) {
    for (const DescriptionCase& c : cases) {
      const std::u16string text = InLocale(c.text, lcid);
      SCOPED_TRACE(testing::Message()
                   << std::string(text.begin(), text.end()) << " in " << std::hex << lcid);
      const Parsed p = Parse(text.c_str(), NUMPRS_STD, 32, lcid);
      ASSERT_EQ(p.hr, c.hr);
      EXPECT_EQ(p.numprs.cchUsed, c.used);
      EXPECT_EQ(p.digits, c.digits);
      EXPECT_EQ(p.numprs.nPwr10, c.pwr10);
    }
  }
}

struct UsedCase {
  LCID lcid;
  const char16_t* text;
  ULONG flags;
  HRESULT hr;
  int used;
  ULONG outFlags;  // the flags expected among dwOutFlags (checked when hr succeeds)
  ULONG absent;    // flags that must not be among them
};

constexpr ULONG kCurrencyHex = NUMPRS_CURRENCY | NUMPRS_HEX_OCT | NUMPRS_LEADING_MINUS;

TEST(ParseNumber, ACurrencySymbolNeverMeetsAHexadecimalOrOctalNumber) {
  const UsedCase cases[] = {
      {kEnglishUS, u"$&H10", kCurrencyHex, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kEnglishUS, u"$&O17", kCurrencyHex, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kEnglishUS, u"&H10$", kCurrencyHex, S_OK, 4, NUMPRS_HEX_OCT, NUMPRS_CURRENCY},
      {kEnglishUS, u"&O17$", kCurrencyHex, S_OK, 4, NUMPRS_HEX_OCT, NUMPRS_CURRENCY},
      {kEnglishUS, u"&H10$", kCurrencyHex | NUMPRS_USE_ALL, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kEnglishUS, u"$10", kCurrencyHex, S_OK, 3, NUMPRS_CURRENCY, NUMPRS_HEX_OCT},
      {kFrench, u"\u20AC&H10", kCurrencyHex, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kFrench, u"&H10\u20AC", kCurrencyHex, S_OK, 4, NUMPRS_HEX_OCT, NUMPRS_CURRENCY},
      {kGerman, u"&HFF\u20AC", kCurrencyHex, S_OK, 4, NUMPRS_HEX_OCT, NUMPRS_CURRENCY},
      {kSpanish, u"\u20AC&O7", kCurrencyHex, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kPolish, u"z\u0142&H10", kCurrencyHex, DISP_E_TYPEMISMATCH, 0, 0, 0},
      {kPolish, u"&H10z\u0142", kCurrencyHex, S_OK, 4, NUMPRS_HEX_OCT, NUMPRS_CURRENCY},
  };
  for (const UsedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid << " case " << (&c - cases));
    const Parsed p = Parse(c.text, c.flags, 32, c.lcid);
    ASSERT_EQ(p.hr, c.hr);
    if (FAILED(c.hr)) continue;
    EXPECT_EQ(p.numprs.cchUsed, c.used);
    EXPECT_EQ(p.numprs.dwOutFlags & c.outFlags, c.outFlags);
    EXPECT_EQ(p.numprs.dwOutFlags & c.absent, 0u);
  }
}

TEST(ParseNumber, TrailingCurrencySymbolsRepeatAndMayBeLong) {
  constexpr ULONG kFlags = NUMPRS_CURRENCY | NUMPRS_DECIMAL | NUMPRS_TRAILING_WHITE;
  const UsedCase cases[] = {
      {kEnglishUS, u"1$$$", kFlags, S_OK, 4, NUMPRS_CURRENCY, 0},
      {kEnglishUS, u"$1$", kFlags, S_OK, 3, NUMPRS_CURRENCY, 0},
      {kEnglishUS, u"1$ $", kFlags, S_OK, 4, NUMPRS_CURRENCY | NUMPRS_TRAILING_WHITE, 0},
      {kEnglishUS, u"1$$$", kFlags | NUMPRS_USE_ALL, S_OK, 4, NUMPRS_CURRENCY, 0},
      {kEnglishUS, u"1$", NUMPRS_DECIMAL, S_OK, 1, 0, NUMPRS_CURRENCY},
      {kFrench, u"1,5\u20AC\u20AC", kFlags, S_OK, 5, NUMPRS_CURRENCY | NUMPRS_DECIMAL, 0},
      {kGerman, u"2\u20AC\u20AC\u20AC", kFlags, S_OK, 4, NUMPRS_CURRENCY, 0},
      {kSpanish, u"\u20AC3\u20AC", kFlags, S_OK, 3, NUMPRS_CURRENCY, 0},
      {kPolish, u"12,5z\u0142", kFlags, S_OK, 6, NUMPRS_CURRENCY | NUMPRS_DECIMAL, 0},
      {kPolish, u"12z\u0142z\u0142", kFlags, S_OK, 6, NUMPRS_CURRENCY, 0},
      {kPolish, u"z\u014212", kFlags, S_OK, 4, NUMPRS_CURRENCY, 0},
      // The space is pl-PL's group separator.
      {kPolish, u"12 z\u0142", kFlags | NUMPRS_THOUSANDS, S_OK, 5,
       NUMPRS_CURRENCY | NUMPRS_THOUSANDS, 0},
      {kEnglishUS, u"12 $", kFlags, S_OK, 4, NUMPRS_CURRENCY | NUMPRS_TRAILING_WHITE, 0},
      // Half a symbol is not one.
      {kPolish, u"12z", kFlags, S_OK, 2, 0, NUMPRS_CURRENCY},
  };
  for (const UsedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid << " case " << (&c - cases));
    const Parsed p = Parse(c.text, c.flags, 32, c.lcid);
    ASSERT_EQ(p.hr, c.hr);
    EXPECT_EQ(p.numprs.cchUsed, c.used);
    EXPECT_EQ(p.numprs.dwOutFlags & c.outFlags, c.outFlags);
    EXPECT_EQ(p.numprs.dwOutFlags & c.absent, 0u);
  }
}

// fr-FR and pl-PL group digits with a space-like character: any of U+0020,
// U+00A0 and U+202F then separates groups where NUMPRS_THOUSANDS allows it,
// and is no trailing white space where it does not.
TEST(ParseNumber, SpaceLikeGroupSeparators) {
  constexpr ULONG kNoGroups = NUMPRS_STD & ~NUMPRS_THOUSANDS & ~NUMPRS_USE_ALL;
  constexpr ULONG kGroups = NUMPRS_STD & ~NUMPRS_USE_ALL;
  std::vector<UsedCase> cases;
  for (LCID lcid : {kFrench, kPolish}) {
    for (const char16_t* text : {u"1 234", u"1\u00A0234", u"1\u202F234"}) {
      cases.push_back({lcid, text, kGroups, S_OK, 5, NUMPRS_THOUSANDS, 0});
      cases.push_back({lcid, text, kNoGroups, S_OK, 1, 0, NUMPRS_TRAILING_WHITE});
    }
    cases.push_back({lcid, u"12 ", kNoGroups, S_OK, 2, 0, NUMPRS_TRAILING_WHITE});
    cases.push_back({lcid, u"12\u00A0", kNoGroups | NUMPRS_USE_ALL, DISP_E_TYPEMISMATCH, 0, 0, 0});
    cases.push_back({lcid, u"12\t", kNoGroups, S_OK, 3, NUMPRS_TRAILING_WHITE, 0});
    cases.push_back({lcid, u"12,5 ", kGroups, S_OK, 5, NUMPRS_TRAILING_WHITE, 0});
    cases.push_back({lcid, u" 12", kNoGroups, S_OK, 3, NUMPRS_LEADING_WHITE, 0});
  }
  // Where the separator is no space, spaces stay white space.
  for (LCID lcid : {kEnglishUS, kGerman, kSpanish}) {
    cases.push_back({lcid, u"12 ", kNoGroups, S_OK, 3, NUMPRS_TRAILING_WHITE, 0});
    cases.push_back({lcid, u"12\u00A0", kNoGroups, S_OK, 3, NUMPRS_TRAILING_WHITE, 0});
    cases.push_back({lcid, u"1 234", kGroups, S_OK, 2, NUMPRS_TRAILING_WHITE, NUMPRS_THOUSANDS});
  }
  for (const UsedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid << " case " << (&c - cases.data()));
    const Parsed p = Parse(c.text, c.flags, 32, c.lcid);
    ASSERT_EQ(p.hr, c.hr);
    if (FAILED(c.hr)) continue;
    EXPECT_EQ(p.numprs.cchUsed, c.used);
    EXPECT_EQ(p.numprs.dwOutFlags & c.outFlags, c.outFlags);
    EXPECT_EQ(p.numprs.dwOutFlags & c.absent, 0u);
  }
}

TEST(ParseNumber, GroupedNumbersReadWhole) {
  struct Case {
    LCID lcid;
    const char16_t* text;
    double value;
  };
  const Case cases[] = {
      {kEnglishUS, u"1,234.5", 1234.5},
      {kFrench, u"1 234,5", 1234.5},
      {kFrench, u"1\u202F234\u00A0567", 1234567},
      {kGerman, u"1.234,5", 1234.5},
      {kSpanish, u"1.234,5", 1234.5},
      {kPolish, u"1\u00A0234,5 z\u0142", 1234.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid);
    DOUBLE value = 0;
    ASSERT_EQ(VarR8FromStr(c.text, c.lcid, 0, &value), S_OK);
    EXPECT_EQ(value, c.value);
  }
}

}  // namespace

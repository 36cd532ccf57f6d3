#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/oleauto.h"

namespace {

// The flags the runtime passes: ignore case, kana type and width.
constexpr ULONG kTextFlags = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
constexpr LCID kEnglishUS = 0x0409;

Variant Of(VARTYPE vt, int64_t bits) {
  Variant v;
  v.vt = vt;
  v.llVal = bits;
  return v;
}

HRESULT Compare(const Variant& left, const Variant& right, LCID lcid = kEnglishUS) {
  Variant l(left);
  Variant r(right);
  return VarCmp(&l, &r, lcid, kTextFlags);
}

struct Case {
  const char* what;
  Variant left;
  Variant right;
  HRESULT expected;
};

constexpr LCID kFrench = 0x040C;
constexpr LCID kGerman = 0x0407;
constexpr LCID kSpanish = 0x0C0A;
constexpr LCID kPolish = 0x0415;
constexpr LCID kLocales[] = {kEnglishUS, kFrench, kGerman, kSpanish, kPolish};

// The same value carrying the VT_RESERVED mark of a typed operand.
Variant Marked(Variant v) {
  v.vt |= VT_RESERVED;
  return v;
}

Variant Single(float x) {
  Variant v;
  v.vt = VT_R4;
  v.fltVal = x;
  return v;
}

Variant Date(double x) {
  Variant v;
  v.vt = VT_DATE;
  v.date = x;
  return v;
}

// mantissa / 10^scale, negative when asked.
Variant Decimal(uint64_t mantissa, int scale, bool negative = false, uint32_t high = 0) {
  Variant v;
  v.decVal.Lo64 = mantissa;
  v.decVal.Hi32 = high;
  v.decVal.scale = static_cast<BYTE>(scale);
  v.decVal.sign = negative ? DECIMAL_NEG : 0;
  v.vt = VT_DECIMAL;
  return v;
}

TEST(VarCmp, ATextIsGreaterThanAnyNumber) {
  const std::vector<Case> cases = {
      {"same digits", Variant::Str(u"255"), Variant::I2(255), VARCMP_GT},
      {"smaller digits", Variant::Str(u"192"), Variant::I2(255), VARCMP_GT},
      {"negative text", Variant::Str(u"-1"), Variant::I2(0), VARCMP_GT},
      {"not a number", Variant::Str(u"abc"), Variant::I2(255), VARCMP_GT},
      {"empty text", Variant::Str(u""), Variant::I2(255), VARCMP_GT},
      {"number on the left", Variant::I4(1000000), Variant::Str(u"1"), VARCMP_LT},
      {"double", Variant::Str(u"2.5"), Variant::R8(2.5), VARCMP_GT},
      {"Boolean", Variant::Str(u"-1"), Variant::Bool(true), VARCMP_GT},
      {"date", Date(36526), Variant::Str(u"1/1/2000"), VARCMP_LT},
      {"currency", Variant::Str(u"1.5"), Of(VT_CY, 15000), VARCMP_GT},
      {"decimal", Decimal(15, 1), Variant::Str(u"1.5"), VARCMP_LT},
  };
  for (LCID lcid : kLocales) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << lcid);
      EXPECT_EQ(Compare(c.left, c.right, lcid), c.expected);
    }
  }
}

// A marked text meets an unmarked number: the number becomes text in the
// locale and the texts compare. A marked number meets an unmarked text: the
// text is read as a number in the locale, greater when it is none. Both
// marked: the text is greater.
TEST(VarCmp, TheTypedOperandMarkDecidesHowTextMeetsNumber) {
  struct LocaleCase {
    const char* what;
    LCID lcid;
    Variant left;
    Variant right;
    HRESULT expected;
  };
  std::vector<LocaleCase> cases;
  for (LCID lcid : kLocales) {
    const bool comma = lcid != kEnglishUS;
    const char16_t* half = comma ? u"2,5" : u"2.5";
    cases.push_back({"marked text, equal digits", lcid, Marked(Variant::Str(u"255")),
                     Variant::I2(255), VARCMP_EQ});
    cases.push_back({"marked text compares as text", lcid, Marked(Variant::Str(u"10")),
                     Variant::I2(9), VARCMP_LT});
    cases.push_back({"marked text, leading zero", lcid, Marked(Variant::Str(u"0255")),
                     Variant::I2(255), VARCMP_LT});
    cases.push_back(
        {"marked text, letters", lcid, Marked(Variant::Str(u"abc")), Variant::I2(255), VARCMP_GT});
    cases.push_back({"marked text, fraction in the locale", lcid, Marked(Variant::Str(half)),
                     Variant::R8(2.5), VARCMP_EQ});
    cases.push_back({"number on the left, marked text", lcid, Variant::R8(2.5),
                     Marked(Variant::Str(half)), VARCMP_EQ});
    cases.push_back({"marked number, text below", lcid, Variant::Str(u"192"),
                     Marked(Variant::I2(255)), VARCMP_LT});
    cases.push_back({"marked number, text above", lcid, Marked(Variant::I2(255)),
                     Variant::Str(u"256"), VARCMP_LT});
    cases.push_back({"marked number, equal text", lcid, Variant::Str(u" 7 "),
                     Marked(Variant::I4(7)), VARCMP_EQ});
    cases.push_back({"marked number, text in the locale", lcid, Variant::Str(half),
                     Marked(Variant::R8(2.5)), VARCMP_EQ});
    cases.push_back({"marked number, not a number", lcid, Variant::Str(u"abc"),
                     Marked(Variant::I2(255)), VARCMP_GT});
    cases.push_back(
        {"marked number, empty text", lcid, Variant::Str(u""), Marked(Variant::I2(0)), VARCMP_GT});
    cases.push_back({"marked number, text on the right not a number", lcid, Marked(Variant::I2(0)),
                     Variant::Str(u"x"), VARCMP_LT});
    cases.push_back({"marked decimal, text", lcid, Marked(Decimal(15, 1)),
                     Variant::Str(comma ? u"1,5" : u"1.5"), VARCMP_EQ});
    cases.push_back(
        {"both marked", lcid, Marked(Variant::Str(u"1")), Marked(Variant::I4(1)), VARCMP_GT});
    cases.push_back({"both marked, number first", lcid, Marked(Variant::I4(1)),
                     Marked(Variant::Str(u"1")), VARCMP_LT});
    cases.push_back({"marked texts compare as texts", lcid, Marked(Variant::Str(u"a")),
                     Marked(Variant::Str(u"A")), VARCMP_EQ});
  }
  // The separator of another locale is no decimal point.
  cases.push_back(
      {"comma in en-US", kEnglishUS, Variant::Str(u"2,5"), Marked(Variant::R8(2.5)), VARCMP_GT});
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << c.lcid);
    EXPECT_EQ(Compare(c.left, c.right, c.lcid), c.expected);
  }
}

TEST(VarCmp, TheMarkLeavesTheCallersVariantsAlone) {
  Variant text = Marked(Variant::Str(u"5"));
  Variant number = Variant::I4(5);
  EXPECT_EQ(VarCmp(&text, &number, kEnglishUS, kTextFlags), VARCMP_EQ);
  EXPECT_EQ(text.vt, VT_BSTR | VT_RESERVED);
  EXPECT_EQ(number.vt, VT_I4);
  // A marked copy keeps its mark and its own text.
  Variant copy;
  ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
  EXPECT_EQ(copy.vt, VT_BSTR | VT_RESERVED);
  EXPECT_NE(copy.bstrVal, text.bstrVal);
}

TEST(VarCmp, ErrorValuesCompareByTheirCodes) {
  const std::vector<Case> cases = {
      {"equal", Variant::Error(5), Variant::Error(5), VARCMP_EQ},
      {"less", Variant::Error(5), Variant::Error(6), VARCMP_LT},
      {"greater", Variant::Error(DISP_E_PARAMNOTFOUND), Variant::Error(DISP_E_PARAMNOTFOUND - 1),
       VARCMP_GT},
      {"failure codes are negative", Variant::Error(DISP_E_PARAMNOTFOUND), Variant::Error(0),
       VARCMP_LT},
      {"error against a number", Variant::Error(5), Variant::I4(5), DISP_E_TYPEMISMATCH},
      {"error against a text", Variant::Str(u"5"), Variant::Error(5), DISP_E_TYPEMISMATCH},
  };
  for (LCID lcid : kLocales) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << lcid);
      EXPECT_EQ(Compare(c.left, c.right, lcid), c.expected);
    }
  }
}

TEST(VarCmp, DecimalsAgainstEveryNumericType) {
  const std::vector<Case> cases = {
      {"I1", Decimal(5, 0, true), Of(VT_I1, -5), VARCMP_EQ},
      {"UI1", Decimal(2551, 1), Of(VT_UI1, 255), VARCMP_GT},
      {"I2", Decimal(15, 1), Variant::I2(2), VARCMP_LT},
      {"UI2", Decimal(65535, 0), Of(VT_UI2, 65535), VARCMP_EQ},
      {"I4", Decimal(15, 1), Variant::I4(1), VARCMP_GT},
      {"UI4", Decimal(4294967295ull, 0), Of(VT_UI4, 4294967295ull), VARCMP_EQ},
      {"I8", Decimal(1, 0, false, 1), Of(VT_I8, INT64_MAX), VARCMP_GT},
      {"UI8", Decimal(UINT64_MAX, 0), Of(VT_UI8, -1), VARCMP_EQ},
      {"INT", Decimal(7, 0, true), Of(VT_INT, -8), VARCMP_GT},
      {"R4", Decimal(5, 1), Single(0.5f), VARCMP_EQ},
      {"R8", Decimal(25, 1), Variant::R8(2.5), VARCMP_EQ},
      // A double meets a decimal with its 15 significant digits.
      {"R8 0.1", Decimal(1, 1), Variant::R8(0.1), VARCMP_EQ},
      {"R8 below", Decimal(1, 28), Variant::R8(0), VARCMP_GT},
      {"R8 beyond the decimals", Decimal(UINT64_MAX, 0, false, UINT32_MAX), Variant::R8(1e30),
       VARCMP_LT},
      {"CY", Decimal(12345, 4), Of(VT_CY, 12345), VARCMP_EQ},
      {"CY above", Decimal(123451, 5), Of(VT_CY, 12345), VARCMP_GT},
      {"BOOL", Decimal(1, 0, true), Variant::Bool(true), VARCMP_EQ},
      {"DATE", Date(36526.5), Decimal(365265, 1), VARCMP_EQ},
      {"Empty", Decimal(0, 3, true), Variant(), VARCMP_EQ},
      {"DECIMAL scales", Decimal(150, 2), Decimal(15, 1), VARCMP_EQ},
      {"DECIMAL signs", Decimal(1, 0, true), Decimal(1, 28), VARCMP_LT},
      {"DECIMAL large", Decimal(0, 0, false, 2), Decimal(UINT64_MAX, 0, false, 1), VARCMP_GT},
      {"Null", Decimal(1, 0), Variant::Null(), VARCMP_NULL},
  };
  for (LCID lcid : kLocales) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << lcid);
      EXPECT_EQ(Compare(c.left, c.right, lcid), c.expected);
    }
  }
}

TEST(VarCmp, ASingleMeetsADoubleOrADateAtSinglePrecision) {
  const std::vector<Case> cases = {
      {"0.1 as R4 and R8", Single(0.1f), Variant::R8(0.1), VARCMP_EQ},
      {"R8 on the left", Variant::R8(0.1), Single(0.1f), VARCMP_EQ},
      {"beyond single precision", Single(0.5f), Variant::R8(0.5000000001), VARCMP_EQ},
      {"date", Single(0.1f), Date(0.1), VARCMP_EQ},
      {"a real difference", Single(1.5f), Variant::R8(1.25), VARCMP_GT},
      {"two doubles keep theirs", Variant::R8(0.5), Variant::R8(0.5000000001), VARCMP_LT},
      {"single against an integer is exact", Single(16777217.0f), Variant::I4(16777217), VARCMP_LT},
  };
  for (LCID lcid : kLocales) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << lcid);
      EXPECT_EQ(Compare(c.left, c.right, lcid), c.expected);
    }
  }
}

TEST(VarCmp, NullOnEitherSide) {
  const std::vector<Case> cases = {
      {"Null, number", Variant::Null(), Variant::I4(1), VARCMP_NULL},
      {"text, Null", Variant::Str(u"a"), Variant::Null(), VARCMP_NULL},
      {"Null, Null", Variant::Null(), Variant::Null(), VARCMP_NULL},
      {"Empty, Null", Variant(), Variant::Null(), VARCMP_NULL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Compare(c.left, c.right), c.expected);
  }
}

TEST(VarCmp, NumbersAcrossTypes) {
  Variant single;
  single.vt = VT_R4;
  single.fltVal = 0.5f;
  Variant date;
  date.vt = VT_DATE;
  date.date = 36526.0;
  const std::vector<Case> cases = {
      {"I2 < I4", Variant::I2(-5), Variant::I4(3), VARCMP_LT},
      {"R8 = I4", Variant::R8(3.0), Variant::I4(3), VARCMP_EQ},
      {"R8 > I4", Variant::R8(3.25), Variant::I4(3), VARCMP_GT},
      {"R4 = R8", single, Variant::R8(0.5), VARCMP_EQ},
      {"CY = R8", Of(VT_CY, 15000), Variant::R8(1.5), VARCMP_EQ},
      {"CY < I4", Of(VT_CY, 15000), Variant::I4(2), VARCMP_LT},
      {"UI8 max > I8 -1", Of(VT_UI8, -1), Of(VT_I8, -1), VARCMP_GT},
      {"I8 max vs R8 2^63", Of(VT_I8, INT64_MAX), Variant::R8(9223372036854775808.0), VARCMP_LT},
      {"True < 0", Variant::Bool(true), Variant::I2(0), VARCMP_LT},
      {"True = -1", Variant::Bool(true), Variant::I4(-1), VARCMP_EQ},
      {"date as number", date, Variant::I4(36526), VARCMP_EQ},
      {"Empty = 0", Variant(), Variant::I4(0), VARCMP_EQ},
      {"Empty < 1", Variant(), Variant::R8(1), VARCMP_LT},
      {"Empty = Empty", Variant(), Variant(), VARCMP_EQ},
      {"NaN", Variant::R8(NAN), Variant::R8(1), VARCMP_GT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Compare(c.left, c.right), c.expected);
  }
}

TEST(VarCmp, TextsCompareAsVarBstrCmpDoes) {
  const std::vector<Case> cases = {
      {"case ignored", Variant::Str(u"ACK"), Variant::Str(u"ack"), VARCMP_EQ},
      {"order", Variant::Str(u"abc"), Variant::Str(u"abd"), VARCMP_LT},
      {"numeric texts stay texts", Variant::Str(u"10"), Variant::Str(u"9"), VARCMP_LT},
      {"Empty is the empty text", Variant(), Variant::Str(u""), VARCMP_EQ},
      {"Empty before text", Variant(), Variant::Str(u"a"), VARCMP_LT},
      {"text after Empty", Variant::Str(u"a"), Variant(), VARCMP_GT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Compare(c.left, c.right), c.expected);
  }
}

TEST(VarCmp, ReferencesAndUnorderedTypes) {
  Variant text = Variant::Str(u"5");
  VARIANT ref;
  ref.vt = VT_VARIANT | VT_BYREF;
  ref.pvarVal = &text;
  LONG five = 5;
  VARIANT numberRef;
  numberRef.vt = VT_I4 | VT_BYREF;
  numberRef.plVal = &five;
  EXPECT_EQ(VarCmp(&ref, &numberRef, kEnglishUS, kTextFlags), VARCMP_GT);

  Variant one = Variant::I4(1);
  Variant bad;
  bad.vt = 15;
  EXPECT_EQ(VarCmp(&bad, &one, kEnglishUS, 0), DISP_E_BADVARTYPE);
  EXPECT_EQ(VarCmp(nullptr, &one, kEnglishUS, 0), E_INVALIDARG);
  bad.vt = VT_EMPTY;
}

}  // namespace

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

TEST(VarCmp, TextAgainstNumber) {
  const std::vector<Case> cases = {
      {"255 < 256", Variant::Str(u"255"), Variant::I2(256), VARCMP_LT},
      {"192 <= 255", Variant::Str(u"192"), Variant::I2(255), VARCMP_LT},
      {"255 = 255", Variant::Str(u"255"), Variant::I2(255), VARCMP_EQ},
      {"256 > 255", Variant::Str(u"256"), Variant::I2(255), VARCMP_GT},
      {"-1 < 0", Variant::Str(u"-1"), Variant::I2(0), VARCMP_LT},
      {"0 = 0", Variant::Str(u"0"), Variant::I2(0), VARCMP_EQ},
      {"not a number > 255", Variant::Str(u"abc"), Variant::I2(255), VARCMP_GT},
      {"empty text > 255", Variant::Str(u""), Variant::I2(255), VARCMP_GT},
      {"number < text", Variant::I4(1000000), Variant::Str(u"x"), VARCMP_LT},
      {"number on the left", Variant::I2(255), Variant::Str(u"300"), VARCMP_LT},
      {"fraction", Variant::Str(u"2.5"), Variant::R8(2.5), VARCMP_EQ},
      {"spaces allowed", Variant::Str(u" 7 "), Variant::I4(7), VARCMP_EQ},
      {"big integer exact", Variant::Str(u"9007199254740993"), Of(VT_I8, 9007199254740992),
       VARCMP_GT},
      {"text against True", Variant::Str(u"-1"), Variant::Bool(true), VARCMP_EQ},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Compare(c.left, c.right), c.expected);
  }
}

TEST(VarCmp, TextNumbersFollowTheLocale) {
  EXPECT_EQ(Compare(Variant::Str(u"2,5"), Variant::R8(2.5), 0x0407), VARCMP_EQ);
  EXPECT_EQ(Compare(Variant::Str(u"2,5"), Variant::R8(25), kEnglishUS), VARCMP_EQ);
  platform::ScopedUserLocale german(0x0407);
  EXPECT_EQ(Compare(Variant::Str(u"0,5"), Variant::R8(0.5), LOCALE_USER_DEFAULT), VARCMP_EQ);
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
  EXPECT_EQ(VarCmp(&ref, &numberRef, kEnglishUS, kTextFlags), VARCMP_EQ);

  Variant error = Variant::Error(5);
  Variant one = Variant::I4(1);
  EXPECT_EQ(VarCmp(&error, &one, kEnglishUS, 0), DISP_E_TYPEMISMATCH);
  Variant bad;
  bad.vt = 15;
  EXPECT_EQ(VarCmp(&bad, &one, kEnglishUS, 0), DISP_E_BADVARTYPE);
  EXPECT_EQ(VarCmp(nullptr, &one, kEnglishUS, 0), E_INVALIDARG);
  bad.vt = VT_EMPTY;
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/oleauto.h"
#include "platform/oleauto/ValueObject.h"

namespace {

using testing_support::ValueObject;

constexpr LCID kEnglishUS = 0x0409;
constexpr LCID kGerman = 0x0407;

Variant Of(VARTYPE vt, int64_t bits) {
  Variant v;
  v.vt = vt;
  v.llVal = bits;
  return v;
}
Variant I8(int64_t value) {
  return Of(VT_I8, value);
}
Variant UI8(uint64_t value) {
  return Of(VT_UI8, static_cast<int64_t>(value));
}
Variant Cy(int64_t scaled) {
  return Of(VT_CY, scaled);
}

// The integer a variant of any integer type holds.
int64_t IntegerOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_I1:
      return v.cVal;
    case VT_UI1:
      return v.bVal;
    case VT_I2:
      return v.iVal;
    case VT_UI2:
      return v.uiVal;
    case VT_I4:
    case VT_INT:
      return v.lVal;
    case VT_UI4:
    case VT_UINT:
      return v.ulVal;
    case VT_BOOL:
      return v.boolVal;
    case VT_CY:
      return v.cyVal.int64;
    default:
      return v.llVal;
  }
}

// The address of a value that lives until the end of the full expression.
const VARIANT* P(const Variant& v) {
  return &v;
}

std::u16string TextOf(const Variant& v, LCID lcid = kEnglishUS, USHORT flags = 0) {
  Variant out;
  HRESULT hr = VariantChangeTypeEx(&out, &v, lcid, flags, VT_BSTR);
  if (FAILED(hr)) return u"<failed>";
  return std::u16string(out.bstrVal ? out.bstrVal : u"", SysStringLen(out.bstrVal));
}

struct RoundingCase {
  double in;
  VARTYPE vt;
  int64_t expected;
};

TEST(VariantChangeType, RoundsHalfToEven) {
  const RoundingCase cases[] = {
      {2.5, VT_I4, 2},    {3.5, VT_I4, 4},   {-2.5, VT_I4, -2}, {-3.5, VT_I4, -4},
      {0.5, VT_I4, 0},    {1.5, VT_I4, 2},   {-0.5, VT_I4, 0},  {2.4999, VT_I4, 2},
      {2.5001, VT_I4, 3}, {0.5, VT_UI1, 0},  {1.5, VT_UI1, 2},  {254.5, VT_UI1, 254},
      {-0.5, VT_UI1, 0},  {2.5, VT_I2, 2},   {3.5, VT_I8, 4},   {-1.5, VT_I1, -2},
      {6.5, VT_UI8, 6},   {7.5, VT_UINT, 8}, {4.5, VT_INT, 4},
  };
  for (const RoundingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in << " to vt " << c.vt);
    Variant out;
    ASSERT_EQ(VariantChangeType(&out, P(Variant::R8(c.in)), 0, c.vt), S_OK);
    EXPECT_EQ(out.vt, c.vt);
    EXPECT_EQ(IntegerOf(out), c.expected);
  }
  // The dedicated conversions round the same way.
  LONG l = 0;
  SHORT s = 0;
  LONG64 ll = 0;
  EXPECT_EQ(VarI4FromR8(2.5, &l), S_OK);
  EXPECT_EQ(l, 2);
  EXPECT_EQ(VarI2FromR8(-3.5, &s), S_OK);
  EXPECT_EQ(s, -4);
  EXPECT_EQ(VarI8FromR8(0.5, &ll), S_OK);
  EXPECT_EQ(ll, 0);
  CY cy{};
  cy.int64 = 25000;  // 2.5
  EXPECT_EQ(VarI8FromCy(cy, &ll), S_OK);
  EXPECT_EQ(ll, 2);
  cy.int64 = -35000;
  EXPECT_EQ(VarI8FromCy(cy, &ll), S_OK);
  EXPECT_EQ(ll, -4);
}

struct LimitCase {
  const char* what;
  Variant in;
  VARTYPE vt;
  HRESULT hr;
};

TEST(VariantChangeType, OverflowsAtEachTypesLimits) {
  const std::vector<LimitCase> cases = {
      {"I1 max", I8(127), VT_I1, S_OK},
      {"I1 max+1", I8(128), VT_I1, DISP_E_OVERFLOW},
      {"I1 min", I8(-128), VT_I1, S_OK},
      {"I1 min-1", I8(-129), VT_I1, DISP_E_OVERFLOW},
      {"UI1 max", I8(255), VT_UI1, S_OK},
      {"UI1 max+1", I8(256), VT_UI1, DISP_E_OVERFLOW},
      {"UI1 -1", I8(-1), VT_UI1, DISP_E_OVERFLOW},
      {"UI1 255.5 rounds to 256", Variant::R8(255.5), VT_UI1, DISP_E_OVERFLOW},
      {"I2 max", I8(32767), VT_I2, S_OK},
      {"I2 max+1", I8(32768), VT_I2, DISP_E_OVERFLOW},
      {"I2 min", I8(-32768), VT_I2, S_OK},
      {"I2 min-1", I8(-32769), VT_I2, DISP_E_OVERFLOW},
      {"I2 32767.5 rounds to 32768", Variant::R8(32767.5), VT_I2, DISP_E_OVERFLOW},
      {"I2 -32768.5 rounds to -32768", Variant::R8(-32768.5), VT_I2, S_OK},
      {"UI2 max", I8(65535), VT_UI2, S_OK},
      {"UI2 max+1", I8(65536), VT_UI2, DISP_E_OVERFLOW},
      {"UI2 -1", I8(-1), VT_UI2, DISP_E_OVERFLOW},
      {"I4 max", I8(2147483647), VT_I4, S_OK},
      {"I4 max+1", I8(2147483648), VT_I4, DISP_E_OVERFLOW},
      {"I4 min", I8(-2147483647 - 1), VT_I4, S_OK},
      {"I4 min-1", I8(-2147483649), VT_I4, DISP_E_OVERFLOW},
      {"I4 2147483647.5", Variant::R8(2147483647.5), VT_I4, DISP_E_OVERFLOW},
      {"INT max+1", I8(2147483648), VT_INT, DISP_E_OVERFLOW},
      {"INT min", I8(-2147483647 - 1), VT_INT, S_OK},
      {"UI4 max", I8(4294967295), VT_UI4, S_OK},
      {"UI4 max+1", I8(4294967296), VT_UI4, DISP_E_OVERFLOW},
      {"UI4 -1", I8(-1), VT_UI4, DISP_E_OVERFLOW},
      {"UINT max+1", I8(4294967296), VT_UINT, DISP_E_OVERFLOW},
      {"UINT -1", I8(-1), VT_UINT, DISP_E_OVERFLOW},
      {"I8 max", UI8(9223372036854775807u), VT_I8, S_OK},
      {"I8 max+1", UI8(9223372036854775808u), VT_I8, DISP_E_OVERFLOW},
      {"I8 min as double", Variant::R8(-9223372036854775808.0), VT_I8, S_OK},
      {"I8 2^63 as double", Variant::R8(9223372036854775808.0), VT_I8, DISP_E_OVERFLOW},
      {"UI8 max", UI8(18446744073709551615u), VT_UI8, S_OK},
      {"UI8 -1", I8(-1), VT_UI8, DISP_E_OVERFLOW},
      {"UI8 2^64 as double", Variant::R8(18446744073709551616.0), VT_UI8, DISP_E_OVERFLOW},
      {"CY max", I8(922337203685477), VT_CY, S_OK},
      {"CY max+1", I8(922337203685478), VT_CY, DISP_E_OVERFLOW},
      {"CY min-1", I8(-922337203685478), VT_CY, DISP_E_OVERFLOW},
      {"CY 1e15", Variant::R8(1e15), VT_CY, DISP_E_OVERFLOW},
      {"CY -9e14", Variant::R8(-9e14), VT_CY, S_OK},
      {"R4 from huge R8", Variant::R8(1e39), VT_R4, DISP_E_OVERFLOW},
      {"R4 from infinity", Variant::R8(INFINITY), VT_R4, DISP_E_OVERFLOW},
      {"I4 from NaN", Variant::R8(NAN), VT_I4, DISP_E_OVERFLOW},
      {"DATE before year 100", Variant::R8(-657435.0), VT_DATE, DISP_E_OVERFLOW},
      {"DATE after 9999", Variant::R8(2958466.0), VT_DATE, DISP_E_OVERFLOW},
      {"DATE last moment", Variant::R8(2958465.99), VT_DATE, S_OK},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.what);
    Variant out;
    EXPECT_EQ(VariantChangeType(&out, &c.in, 0, c.vt), c.hr);
    EXPECT_EQ(out.vt, c.hr == S_OK ? c.vt : VARTYPE{VT_EMPTY});
  }
}

TEST(VariantChangeType, CurrencyToIntegerRoundsToEven) {
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, P(Cy(327665000)), 0, VT_I2), S_OK);  // 32766.5
  EXPECT_EQ(out.iVal, 32766);
  EXPECT_EQ(VariantChangeType(&out, P(Cy(327675000)), 0, VT_I2), DISP_E_OVERFLOW);  // 32767.5
}

TEST(VariantChangeType, DedicatedConversionsOverflow) {
  LONG l = 0;
  SHORT s = 0;
  LONG64 ll = 0;
  CY cy{};
  EXPECT_EQ(VarI4FromR8(2147483648.0, &l), DISP_E_OVERFLOW);
  EXPECT_EQ(VarI4FromR8(-2147483648.0, &l), S_OK);
  EXPECT_EQ(VarI2FromR8(32768.0, &s), DISP_E_OVERFLOW);
  EXPECT_EQ(VarI8FromR8(9.3e18, &ll), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyFromR8(922337203685477.0, &cy), S_OK);
  EXPECT_EQ(VarCyFromR8(922337203685478.0, &cy), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyFromR8(-2.5, &cy), S_OK);
  EXPECT_EQ(cy.int64, -25000);
  EXPECT_EQ(VarCyFromR8(-1e300, &cy), DISP_E_OVERFLOW);
  DOUBLE d = 0;
  cy.int64 = 12345;
  EXPECT_EQ(VarR8FromCy(cy, &d), S_OK);
  EXPECT_DOUBLE_EQ(d, 1.2345);
}

TEST(VariantChangeType, BooleansAsWordsOnlyWithAlphaBool) {
  EXPECT_EQ(TextOf(Variant::Bool(true)), u"-1");
  EXPECT_EQ(TextOf(Variant::Bool(false)), u"0");
  EXPECT_EQ(TextOf(Variant::Bool(true), kEnglishUS, VARIANT_ALPHABOOL), u"True");
  EXPECT_EQ(TextOf(Variant::Bool(false), kEnglishUS, VARIANT_ALPHABOOL), u"False");
  EXPECT_EQ(TextOf(Variant::Bool(true), kGerman, VARIANT_LOCALBOOL), u"True");
  // The flag only concerns Booleans.
  EXPECT_EQ(TextOf(Variant::I4(-1), kEnglishUS, VARIANT_ALPHABOOL), u"-1");
}

struct TextCase {
  const char16_t* text;
  VARTYPE vt;
  HRESULT hr;
  double expected;
};

TEST(VariantChangeType, TextToNumbersAndBooleans) {
  const TextCase cases[] = {
      {u"True", VT_BOOL, S_OK, -1},
      {u"false", VT_BOOL, S_OK, 0},
      {u"0", VT_BOOL, S_OK, 0},
      {u"-1", VT_BOOL, S_OK, -1},
      {u"2.5", VT_BOOL, S_OK, -1},
      {u"yes", VT_BOOL, DISP_E_TYPEMISMATCH, 0},
      {u" 12 ", VT_I4, S_OK, 12},
      {u"5-", VT_I4, S_OK, -5},
      {u"1e3", VT_I4, S_OK, 1000},
      {u"&H1F", VT_I4, S_OK, 31},
      {u"&HFFFF", VT_I2, S_OK, -1},
      {u"&H10000", VT_I2, DISP_E_OVERFLOW, 0},
      {u"2.5", VT_I4, S_OK, 2},
      {u"3.5", VT_I4, S_OK, 4},
      {u"0.5", VT_I4, S_OK, 0},
      {u"0.51", VT_I4, S_OK, 1},
      {u"32768", VT_I2, DISP_E_OVERFLOW, 0},
      {u"-1", VT_UI4, DISP_E_OVERFLOW, 0},
      {u"abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"1.5", VT_R8, S_OK, 1.5},
      {u"1.23456", VT_CY, S_OK, 12346},
      {u"1.00005", VT_CY, S_OK, 10000},
      {u"1.00015", VT_CY, S_OK, 10002},
      {u"-1.00025", VT_CY, S_OK, -10002},
      {u"0.1", VT_R4, S_OK, 0.1f},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::string(c.text, c.text + std::u16string_view(c.text).size()) << " to vt "
                 << c.vt);
    Variant out;
    ASSERT_EQ(VariantChangeTypeEx(&out, P(Variant::Str(c.text)), kEnglishUS, 0, c.vt), c.hr);
    if (c.hr != S_OK) continue;
    ASSERT_EQ(out.vt, c.vt);
    if (c.vt == VT_R8) {
      EXPECT_DOUBLE_EQ(out.dblVal, c.expected);
    } else if (c.vt == VT_R4) {
      EXPECT_FLOAT_EQ(out.fltVal, static_cast<float>(c.expected));
    } else {
      EXPECT_EQ(IntegerOf(out), static_cast<int64_t>(c.expected));
    }
  }
}

TEST(VariantChangeType, NumbersToText) {
  EXPECT_EQ(TextOf(Variant::I4(-42)), u"-42");
  EXPECT_EQ(TextOf(UI8(18446744073709551615u)), u"18446744073709551615");
  EXPECT_EQ(TextOf(Variant::R8(2.5)), u"2.5");
  EXPECT_EQ(TextOf(Cy(-15000)), u"-1.5");
  Variant single;
  single.vt = VT_R4;
  single.fltVal = 0.1f;
  EXPECT_EQ(TextOf(single), u"0.1");
  Variant date;
  date.vt = VT_DATE;
  date.date = 36526.5;
  EXPECT_EQ(TextOf(date), u"1/1/2000 12:00:00 PM");
  EXPECT_EQ(TextOf(Variant()), u"");
}

TEST(VariantChangeType, CommaDecimalLocaleBothWays) {
  platform::ScopedUserLocale german(kGerman);
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, P(Variant::R8(2.5)), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string_view(out.bstrVal), u"2,5");
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Str(u"2,5")), 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, 2.5);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Str(u"1.234,5")), 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, 1234.5);
  // The full stop is the thousands separator there.
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Str(u"2.5")), 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, 25.0);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Str(u"-0,5")), 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 0);
  // An explicit locale wins over the user's.
  ASSERT_EQ(VariantChangeTypeEx(&out, P(Variant::Str(u"2.5")), kEnglishUS, 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, 2.5);
  EXPECT_EQ(TextOf(Variant::R8(-0.25), kEnglishUS), u"-0.25");
  EXPECT_EQ(TextOf(Variant::R8(-0.25), LOCALE_USER_DEFAULT), u"-0,25");
  EXPECT_EQ(TextOf(Cy(12345), LOCALE_USER_DEFAULT), u"1,2345");
}

TEST(VariantChangeType, NullAndEmpty) {
  Variant out;
  EXPECT_EQ(VariantChangeType(&out, P(Variant::Null()), 0, VT_NULL), S_OK);
  EXPECT_EQ(out.vt, VT_NULL);
  for (VARTYPE vt : {VT_EMPTY, VT_I2, VT_I4, VT_R8, VT_BSTR, VT_BOOL, VT_DATE, VT_CY}) {
    SCOPED_TRACE(vt);
    Variant target;
    EXPECT_EQ(VariantChangeType(&target, P(Variant::Null()), 0, vt), DISP_E_TYPEMISMATCH);
  }
  ASSERT_EQ(VariantChangeType(&out, P(Variant()), 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 0);
  ASSERT_EQ(VariantChangeType(&out, P(Variant()), 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_FALSE);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::I4(5)), 0, VT_EMPTY), S_OK);
  EXPECT_EQ(out.vt, VT_EMPTY);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::I4(5)), 0, VT_NULL), S_OK);
  EXPECT_EQ(out.vt, VT_NULL);
}

TEST(VariantChangeType, ErrorValues) {
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Error(DISP_E_PARAMNOTFOUND)), 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(VariantChangeType(&out, P(Variant::Error(5)), 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&out, P(Variant::Error(5)), 0, VT_R8), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::I4(7)), 0, VT_ERROR), S_OK);
  EXPECT_EQ(out.scode, 7);
}

TEST(VariantChangeType, ObjectsGiveTheirDefaultValue) {
  ValueObject object(Variant::Str(u"41.5"));
  Variant v;
  v.vt = VT_DISPATCH;
  v.pdispVal = &object;
  object.AddRef();
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, 41.5);
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string_view(out.bstrVal), u"41.5");
  EXPECT_EQ(object.invokes(), 2);

  EXPECT_EQ(VariantChangeType(&out, &v, VARIANT_NOVALUEPROP, VT_R8), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(object.invokes(), 2);
  object.FailWith(DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(VariantChangeType(&out, &v, 0, VT_I4), DISP_E_TYPEMISMATCH);

  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_UNKNOWN), S_OK);
  EXPECT_EQ(out.punkVal, static_cast<IUnknown*>(&object));
  EXPECT_EQ(object.refs(), 3u);
  VariantClear(&out);
  VariantClear(&v);
  EXPECT_EQ(object.refs(), 1u);

  Variant nothing;
  nothing.vt = VT_DISPATCH;
  nothing.pdispVal = nullptr;
  EXPECT_EQ(VariantChangeType(&out, &nothing, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, ObjectReturningItselfStops) {
  ValueObject object(Variant::I4(0));
  Variant self;
  self.vt = VT_DISPATCH;
  self.pdispVal = &object;
  object.AddRef();
  ValueObject loop(self);
  Variant v;
  v.vt = VT_DISPATCH;
  v.pdispVal = &loop;
  loop.AddRef();
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I4), S_OK);  // one level deep
  VariantClear(&v);
  VariantClear(&self);
}

TEST(VariantChangeType, ReferenceSourcesAreFollowed) {
  SHORT small = -3;
  VARIANT ref;
  ref.vt = VT_I2 | VT_BYREF;
  ref.piVal = &small;
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, &ref, 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, -3.0);

  Variant inner = Variant::Str(u"12");
  VARIANT outer;
  outer.vt = VT_VARIANT | VT_BYREF;
  outer.pvarVal = &inner;
  ASSERT_EQ(VariantChangeType(&out, &outer, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 12);

  BSTR text = SysAllocString(u"True");
  VARIANT textRef;
  textRef.vt = VT_BSTR | VT_BYREF;
  textRef.pbstrVal = &text;
  ASSERT_EQ(VariantChangeType(&out, &textRef, 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_TRUE);
  SysFreeString(text);

  VARIANT dangling;
  dangling.vt = VT_I4 | VT_BYREF;
  dangling.plVal = nullptr;
  EXPECT_EQ(VariantChangeType(&out, &dangling, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, InPlaceConversionFreesTheOldValue) {
  Variant v = Variant::Str(u"5");
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 5);
  // A failed conversion leaves the destination as it was.
  Variant text = Variant::Str(u"x");
  EXPECT_EQ(VariantChangeType(&text, &text, 0, VT_I4), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(text.vt, VT_BSTR);
}

TEST(VariantChangeType, BooleansToUnsignedTypesKeepTheirBits) {
  Variant out;
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Bool(true)), 0, VT_UI1), S_OK);
  EXPECT_EQ(out.bVal, 255);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::Bool(true)), 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, -1);
  ASSERT_EQ(VariantChangeType(&out, P(Variant::R8(0.25)), 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_TRUE);
}

}  // namespace

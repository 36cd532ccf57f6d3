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
  EXPECT_EQ(TextOf(Variant::Bool(true), kGerman, VARIANT_LOCALBOOL), u"Wahr");
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

TEST(VariantChangeType, IntegersToTextAtTheirLimits) {
  const struct {
    Variant value;
    std::u16string_view text;
  } cases[] = {
      {Of(VT_I1, -128), u"-128"},
      {Of(VT_UI1, 255), u"255"},
      {Of(VT_I2, -32768), u"-32768"},
      {Of(VT_I2, 32767), u"32767"},
      {Of(VT_UI2, 65535), u"65535"},
      {Of(VT_I4, INT32_MIN), u"-2147483648"},
      {Of(VT_INT, INT32_MAX), u"2147483647"},
      {Of(VT_UI4, 4294967295), u"4294967295"},
      {Of(VT_UINT, 0), u"0"},
      {I8(INT64_MIN), u"-9223372036854775808"},
      {I8(INT64_MAX), u"9223372036854775807"},
      {UI8(18446744073709551615u), u"18446744073709551615"},
  };
  for (LCID lcid : {kEnglishUS, kGerman}) {
    for (USHORT flags : {USHORT{0}, USHORT{VARIANT_ALPHABOOL}, USHORT{VARIANT_LOCALBOOL}}) {
      for (const auto& c : cases) {
        EXPECT_EQ(TextOf(c.value, lcid, flags), c.text) << c.value.vt << " flags " << flags;
        // In place, the text replaces the number.
        Variant same = c.value;
        ASSERT_EQ(VariantChangeTypeEx(&same, &same, lcid, flags, VT_BSTR), S_OK);
        ASSERT_EQ(same.vt, VT_BSTR);
        EXPECT_EQ(std::u16string_view(same.bstrVal, SysStringLen(same.bstrVal)), c.text);
      }
    }
  }
}

TEST(VariantChangeType, IntegerTextReplacesWhatTheDestinationHeld) {
  Variant destination = Variant::Str(u"freed on success");
  destination.wReserved1 = 7;
  ASSERT_EQ(VariantChangeType(&destination, P(Variant::I2(-5)), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string_view(destination.bstrVal), u"-5");
  EXPECT_EQ(destination.wReserved1, 0);
  // A destination that cannot be cleared fails as for any other source.
  VARIANT broken{};
  broken.vt = 0x7FFF;
  EXPECT_EQ(VariantChangeType(&broken, P(Variant::I4(5)), 0, VT_BSTR), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&broken, P(Variant::R8(5)), 0, VT_BSTR), DISP_E_BADVARTYPE);
  // The mark of a typed operand is no type of its own: the conversion
  // rejects it, for an integer as for any value.
  Variant marked = Variant::I4(12);
  marked.vt |= VT_RESERVED;
  Variant out;
  EXPECT_EQ(VariantChangeType(&out, &marked, 0, VT_BSTR), DISP_E_BADVARTYPE);
  EXPECT_EQ(out.vt, VT_EMPTY);
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

constexpr LCID kFrench = 0x040C;
constexpr LCID kSpanish = 0x0C0A;
constexpr LCID kPolish = 0x0415;

struct LocaleWords {
  LCID lcid;
  const char16_t* trueWord;
  const char16_t* falseWord;
  const char16_t* trueShouted;  // the word in capitals
  const char16_t* half;         // 0.5 in the locale
};

constexpr LocaleWords kWords[] = {
    {kEnglishUS, u"True", u"False", u"TRUE", u"0.5"},
    {kFrench, u"Vrai", u"Faux", u"VRAI", u"0,5"},
    {kGerman, u"Wahr", u"Falsch", u"WAHR", u"0,5"},
    {kSpanish, u"Verdadero", u"Falso", u"VERDADERO", u"0,5"},
    {kPolish, u"Prawda", u"Fa\u0142sz", u"PRAWDA", u"0,5"},
};

HRESULT BoolOf(const char16_t* text, LCID lcid, ULONG flags, VARIANT_BOOL* out) {
  *out = 0x1234;
  return VarBoolFromStr(text, lcid, flags, out);
}

TEST(VarBoolFromStr, WordsNumbersAndTheirLocales) {
  struct Case {
    const char16_t* text;
    ULONG flags;
    HRESULT hr;
    VARIANT_BOOL value;
  };
  for (const LocaleWords& w : kWords) {
    const std::u16string zero = std::u16string(w.half).replace(2, 1, u"0");
    const Case cases[] = {
        {u"#TRUE#", 0, S_OK, VARIANT_TRUE},
        {u"#FALSE#", 0, S_OK, VARIANT_FALSE},
        {u"#true#", 0, S_OK, VARIANT_TRUE},
        {u"#False#", VAR_LOCALBOOL, S_OK, VARIANT_FALSE},
        {u"true", 0, S_OK, VARIANT_TRUE},
        {u"FALSE", VAR_LOCALBOOL, S_OK, VARIANT_FALSE},
        {u"#TRUE", 0, DISP_E_TYPEMISMATCH, 0x1234},
        {w.trueWord, VAR_LOCALBOOL, S_OK, VARIANT_TRUE},
        {w.falseWord, VAR_LOCALBOOL, S_OK, VARIANT_FALSE},
        {w.trueShouted, VAR_LOCALBOOL, S_OK, VARIANT_TRUE},
        {w.half, 0, S_OK, VARIANT_TRUE},
        {zero.c_str(), 0, S_OK, VARIANT_FALSE},
        {u"-1", 0, S_OK, VARIANT_TRUE},
        {u"maybe", VAR_LOCALBOOL, DISP_E_TYPEMISMATCH, 0x1234},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << std::hex << w.lcid << " case " << (&c - cases));
      VARIANT_BOOL value = 0;
      EXPECT_EQ(BoolOf(c.text, w.lcid, c.flags, &value), c.hr);
      EXPECT_EQ(value, c.value);
    }
    if (w.lcid == kEnglishUS) continue;
    // The locale's own words only with VAR_LOCALBOOL.
    VARIANT_BOOL value = 0;
    EXPECT_EQ(BoolOf(w.trueWord, w.lcid, 0, &value), DISP_E_TYPEMISMATCH);
  }
}

TEST(VarBoolFromStr, LocaleWordsInAnyCase) {
  VARIANT_BOOL value = 0;
  EXPECT_EQ(BoolOf(u"vrai", kFrench, VAR_LOCALBOOL, &value), S_OK);
  EXPECT_EQ(value, VARIANT_TRUE);
  EXPECT_EQ(BoolOf(u"FAUX", kFrench, VAR_LOCALBOOL, &value), S_OK);
  EXPECT_EQ(value, VARIANT_FALSE);
  EXPECT_EQ(BoolOf(u"FA\u0141SZ", kPolish, VAR_LOCALBOOL, &value), S_OK);
  EXPECT_EQ(value, VARIANT_FALSE);
  // Another locale's words are not this one's.
  EXPECT_EQ(BoolOf(u"Vrai", kGerman, VAR_LOCALBOOL, &value), DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, BooleanTextHonoursLocalBoolAndAlphaBool) {
  for (const LocaleWords& w : kWords) {
    struct Case {
      USHORT flags;
      const char16_t* trueText;
      const char16_t* falseText;
    };
    const Case cases[] = {
        {0, u"-1", u"0"},
        {VARIANT_ALPHABOOL, u"True", u"False"},
        {VARIANT_LOCALBOOL, w.trueWord, w.falseWord},
        {VARIANT_ALPHABOOL | VARIANT_LOCALBOOL, w.trueWord, w.falseWord},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << std::hex << w.lcid << " flags " << c.flags);
      for (bool truth : {true, false}) {
        Variant text;
        Variant source = Variant::Bool(truth);
        ASSERT_EQ(VariantChangeTypeEx(&text, &source, w.lcid, c.flags, VT_BSTR), S_OK);
        EXPECT_EQ(Bstr(text.bstrVal).view(), truth ? c.trueText : c.falseText);
        // And back again.
        Variant back;
        ASSERT_EQ(VariantChangeTypeEx(&back, &text, w.lcid, c.flags, VT_BOOL), S_OK);
        EXPECT_EQ(back.boolVal, truth ? VARIANT_TRUE : VARIANT_FALSE);
      }
    }
    Variant word = Variant::Str(w.trueWord);
    Variant value;
    EXPECT_EQ(VariantChangeTypeEx(&value, &word, w.lcid, VARIANT_LOCALBOOL, VT_BOOL), S_OK);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  }
}

TEST(VariantChangeType, DatesWithUseNlsWriteTheTimeToo) {
  struct Case {
    LCID lcid;
    DATE date;
    USHORT flags;
    const char16_t* text;
  };
  const Case cases[] = {
      {kEnglishUS, 36526, 0, u"1/1/2000"},
      {kEnglishUS, 36526, VARIANT_USE_NLS, u"1/1/2000 12:00:00 AM"},
      {kEnglishUS, 36526.75, VARIANT_USE_NLS, u"1/1/2000 6:00:00 PM"},
      {kEnglishUS, 0.25, VARIANT_USE_NLS, u"6:00:00 AM"},
      {kFrench, 36526, VARIANT_USE_NLS, u"01/01/2000 00:00:00"},
      {kGerman, 36526, VARIANT_USE_NLS, u"01.01.2000 00:00:00"},
      {kGerman, 36526, 0, u"01.01.2000"},
      {kSpanish, 36526, VARIANT_USE_NLS, u"01/01/2000 0:00:00"},
      {kPolish, 36526.5, VARIANT_USE_NLS, u"01.01.2000 12:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid << " " << c.date);
    Variant date;
    date.vt = VT_DATE;
    date.date = c.date;
    Variant text;
    ASSERT_EQ(VariantChangeTypeEx(&text, &date, c.lcid, c.flags, VT_BSTR), S_OK);
    EXPECT_EQ(Bstr(text.bstrVal).view(), c.text);
  }
}

Variant Decimal(uint64_t mantissa, int scale, bool negative = false) {
  Variant v;
  v.decVal.Lo64 = mantissa;
  v.decVal.Hi32 = 0;
  v.decVal.scale = static_cast<BYTE>(scale);
  v.decVal.sign = negative ? DECIMAL_NEG : 0;
  v.vt = VT_DECIMAL;
  return v;
}

TEST(VariantChangeType, DecimalsToAndFromOtherTypes) {
  struct Case {
    Variant from;
    VARTYPE to;
    HRESULT hr;
    const char16_t* text;  // the result written as text in en-US
  };
  const Case cases[] = {
      {Decimal(125, 2), VT_BSTR, S_OK, u"1.25"},
      {Decimal(1, 20, true), VT_BSTR, S_OK, u"-0.00000000000000000001"},
      {Decimal(25, 1), VT_I4, S_OK, u"2"},
      {Decimal(35, 1), VT_I2, S_OK, u"4"},
      {Decimal(123456, 5), VT_CY, S_OK, u"1.2346"},
      {Decimal(15, 1), VT_R8, S_OK, u"1.5"},
      {Decimal(300, 0), VT_UI1, DISP_E_OVERFLOW, nullptr},
      {Variant::R8(0.1), VT_DECIMAL, S_OK, u"0.1"},
      {Variant::I4(-7), VT_DECIMAL, S_OK, u"-7"},
      {Variant::Str(u"12.345"), VT_DECIMAL, S_OK, u"12.345"},
      {Variant::R8(1e30), VT_DECIMAL, DISP_E_OVERFLOW, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Variant result;
    ASSERT_EQ(VariantChangeTypeEx(&result, &c.from, kEnglishUS, 0, c.to), c.hr);
    if (FAILED(c.hr)) continue;
    EXPECT_EQ(result.vt, c.to);
    Variant text;
    ASSERT_EQ(VariantChangeTypeEx(&text, &result, kEnglishUS, 0, VT_BSTR), S_OK);
    EXPECT_EQ(Bstr(text.bstrVal).view(), c.text);
  }
  Variant half = Decimal(5, 1);
  Variant text;
  ASSERT_EQ(VariantChangeTypeEx(&text, &half, kPolish, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Bstr(text.bstrVal).view(), u"0,5");
}

template <typename T>
struct FromStrCase {
  const char16_t* text;
  LCID lcid;
  HRESULT hr;
  T value;
};

template <typename T, typename Convert>
void CheckFromStr(const std::vector<FromStrCase<T>>& cases, Convert convert) {
  for (const FromStrCase<T>& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lcid << " case " << (&c - cases.data()));
    T value{};
    EXPECT_EQ(convert(c.text, c.lcid, 0, &value), c.hr);
    if (SUCCEEDED(c.hr)) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(ScalarFromStr, TheNarrowAndUnsignedTypes) {
  CheckFromStr<CHAR>({{u"-128", kEnglishUS, S_OK, -128},
                      {u"127", kFrench, S_OK, 127},
                      {u"128", kEnglishUS, DISP_E_OVERFLOW, 0},
                      {u"-1,5", kGerman, S_OK, -2},
                      {u"&HFF", kEnglishUS, S_OK, -1},
                      {u"x", kEnglishUS, DISP_E_TYPEMISMATCH, 0}},
                     VarI1FromStr);
  CheckFromStr<BYTE>({{u"255", kEnglishUS, S_OK, 255},
                      {u"256", kEnglishUS, DISP_E_OVERFLOW, 0},
                      {u"-1", kEnglishUS, DISP_E_OVERFLOW, 0},
                      {u"2,5", kSpanish, S_OK, 2},
                      {u"3,5", kPolish, S_OK, 4},
                      {u"", kEnglishUS, DISP_E_TYPEMISMATCH, 0}},
                     VarUI1FromStr);
  CheckFromStr<ULONG>({{u"4294967295", kEnglishUS, S_OK, 4294967295u},
                       {u"4294967296", kEnglishUS, DISP_E_OVERFLOW, 0},
                       {u"4 294 967 295", kFrench, S_OK, 4294967295u},
                       {u"1.000", kGerman, S_OK, 1000},
                       {u"-1", kEnglishUS, DISP_E_OVERFLOW, 0}},
                      VarUI4FromStr);
  CheckFromStr<ULONG64>({{u"18446744073709551615", kEnglishUS, S_OK, UINT64_MAX},
                         {u"18446744073709551616", kEnglishUS, DISP_E_OVERFLOW, 0},
                         {u"12,5", kPolish, S_OK, 12},
                         {u"&HFFFFFFFFFFFFFFFF", kEnglishUS, S_OK, UINT64_MAX}},
                        VarUI8FromStr);
  BYTE byte = 0;
  EXPECT_EQ(VarUI1FromStr(u"1", kEnglishUS, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(VarUI1FromStr(nullptr, kEnglishUS, 0, &byte), DISP_E_TYPEMISMATCH);
}

TEST(ScalarFromStr, ByteFromDoubleRoundsHalfToEven) {
  const struct {
    double in;
    HRESULT hr;
    BYTE out;
  } cases[] = {
      {2.5, S_OK, 2},
      {3.5, S_OK, 4},
      {254.5, S_OK, 254},
      {255.4, S_OK, 255},
      {255.5, DISP_E_OVERFLOW, 0},
      {-0.5, S_OK, 0},
      {-0.6, DISP_E_OVERFLOW, 0},
      {NAN, DISP_E_OVERFLOW, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    BYTE out = 0;
    EXPECT_EQ(VarUI1FromR8(c.in, &out), c.hr);
    if (SUCCEEDED(c.hr)) {
      EXPECT_EQ(out, c.out);
    }
  }
  EXPECT_EQ(VarUI1FromR8(1, nullptr), E_INVALIDARG);
}

}  // namespace

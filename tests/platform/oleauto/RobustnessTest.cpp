// Every conversion and comparison over every pair of types and over random
// texts: nothing may crash, leak or read out of bounds (run under ASan).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/oleauto.h"
#include "platform/oleauto/ValueObject.h"

namespace {

using testing_support::ValueObject;

Variant Of(VARTYPE vt, int64_t bits) {
  Variant v;
  v.vt = vt;
  v.llVal = bits;
  return v;
}

std::vector<Variant> SampleValues(ValueObject* object, SAFEARRAY* texts) {
  std::vector<Variant> values = {
      Variant(),
      Variant::Null(),
      Variant::Bool(true),
      Variant::Error(DISP_E_PARAMNOTFOUND),
      Variant::R8(NAN),
      Variant::R8(-INFINITY),
      Variant::R8(1e300),
      Variant::R8(-2.5),
      Variant::Str(u""),
      Variant::Str(u"12"),
      Variant::Str(u"-1e3"),
      Variant::Str(u"&HFFFFFFFFFFFFFFFF"),
      Variant::Str(u"True"),
      Variant::Str(u"1/1/2000 6:00 PM"),
      Variant::AdoptBstr(nullptr),
      Of(VT_CY, INT64_MIN),
      Of(VT_CY, INT64_MAX),
      Of(VT_DATE, 0x7FF0000000000000),  // +infinity as a date
  };
  for (VARTYPE vt : {VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT}) {
    values.push_back(Of(vt, -1));
    values.push_back(Of(vt, INT64_MIN));
  }
  Variant dispatch;
  dispatch.vt = VT_DISPATCH;
  dispatch.pdispVal = object;
  object->AddRef();
  values.push_back(dispatch);
  Variant unknown;
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = object;
  object->AddRef();
  values.push_back(unknown);
  values.push_back(Of(VT_DISPATCH, 0));
  Variant array;
  array.vt = VT_ARRAY | VT_BSTR;
  SafeArrayCopy(texts, &array.parray);
  values.push_back(array);
  values.push_back(Of(VT_DECIMAL, 0));
  return values;
}

TEST(Robustness, EveryConversionOfEveryType) {
  ValueObject object(Variant::Str(u"3.5"));
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 2);
  LONG index = 0;
  Bstr text(u"x");
  SafeArrayPutElement(texts, &index, text.get());
  {
    const std::vector<Variant> values = SampleValues(&object, texts);
    for (const Variant& value : values) {
      for (VARTYPE vt = 0; vt < 0x50; ++vt) {
        for (VARTYPE modifier : {VARTYPE{0}, VARTYPE{VT_ARRAY}, VARTYPE{VT_BYREF}}) {
          Variant out;
          for (USHORT flags : {USHORT{0}, VARIANT_ALPHABOOL, VARIANT_NOVALUEPROP}) {
            VariantChangeTypeEx(&out, &value, 0x0409, flags, vt | modifier);
          }
        }
      }
      for (const Variant& other : values) {
        Variant l(value);
        Variant r(other);
        VarCmp(&l, &r, 0x0409, NORM_IGNORECASE);
      }
    }
  }
  EXPECT_EQ(SafeArrayDestroy(texts), S_OK);
  EXPECT_EQ(object.refs(), 1u);
}

TEST(Robustness, RandomTexts) {
  const std::u16string alphabet = u"0123456789+-.,eEdD&HhOo$()% \t:/AMPamJanuary\u00A0\u20AC";
  std::mt19937 random(12345);
  std::uniform_int_distribution<size_t> length(0, 24);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> room(1, 40);
  std::uniform_int_distribution<ULONG> flags(0, NUMPRS_STD);
  std::uniform_int_distribution<ULONG> bits(0, 0x3FFFFF);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text;
    for (size_t n = length(random); n > 0; --n)
      text += alphabet[pick(random)];
    const LCID lcid = round % 3 == 0 ? 0x0407 : 0x0409;

    std::vector<BYTE> digits(static_cast<size_t>(room(random)));
    NUMPARSE numprs{};
    numprs.cDig = static_cast<INT>(digits.size());
    numprs.dwInFlags = flags(random);
    if (SUCCEEDED(VarParseNumFromStr(text.c_str(), lcid, 0, &numprs, digits.data()))) {
      ASSERT_LE(numprs.cDig, static_cast<INT>(digits.size()));
      ASSERT_LE(numprs.cchUsed, static_cast<INT>(text.size()));
      VARIANT out;
      VariantInit(&out);
      VarNumFromParseNum(&numprs, digits.data(), bits(random), &out);
    }
    DATE date;
    DOUBLE real;
    VARIANT_BOOL flag;
    LONG64 big;
    VarDateFromStr(text.c_str(), lcid, 0, &date);
    VarR8FromStr(text.c_str(), lcid, 0, &real);
    VarBoolFromStr(text.c_str(), lcid, 0, &flag);
    VarI8FromStr(text.c_str(), lcid, 0, &big);
    Variant left = Variant::Str(text);
    Variant right = Variant::I4(round);
    VarCmp(&left, &right, lcid, 0);
  }
}

TEST(Robustness, ExtremeDoublesAsText) {
  std::mt19937_64 random(99);
  for (int round = 0; round < 20000; ++round) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    BSTR out = nullptr;
    ASSERT_EQ(VarBstrFromR8(value, 0x0409, 0, &out), S_OK);
    // Every finite double reads back within its 15 printed digits.
    if (std::isfinite(value)) {
      DOUBLE back = 0;
      ASSERT_EQ(VarR8FromStr(out, 0x0409, 0, &back), S_OK) << std::u16string_view(out).size();
      EXPECT_NEAR(back, value, std::fabs(value) * 1e-14);
    }
    SysFreeString(out);
    ASSERT_EQ(VarBstrFromDate(value, 0x0409, 0, &out) == S_OK,
              value > -657435.0 && value < 2958466.0);
    SysFreeString(out);
  }
}

}  // namespace

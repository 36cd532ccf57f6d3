#include "runtime/library/Split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "platform/oleauto/ValueObject.h"
#include "runtime/core/Status.h"
#include "runtime/library/ArrayFunctions.h"

namespace rt {
namespace {

using testing::ObjectVariant;
using testing::RefTo;
using testing::ScopedLocaleValues;
using testing::TextsOf;
using testing_support::ValueObject;
using Texts = std::vector<std::u16string>;

struct SplitCase {
  std::u16string_view text;
  Variant delimiter;
  LONG limit;
  LONG compare;
  Texts pieces;
};

LONG UpperBound(const VARIANT& array) {
  LONG upper = -99;
  EXPECT_EQ(UBound(array, 1, &upper), S_OK);
  return upper;
}

void ExpectSplit(const SplitCase& c) {
  Bstr text(c.text);
  Variant result;
  ASSERT_EQ(Split(text.get(), c.delimiter, c.limit, c.compare, result.out()), S_OK)
      << std::string(c.text.begin(), c.text.end());
  ASSERT_EQ(result.vt, VT_ARRAY | VT_BSTR);
  LONG lower = -99;
  ASSERT_EQ(SafeArrayGetLBound(result.parray, 1, &lower), S_OK);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(UpperBound(result), static_cast<LONG>(c.pieces.size()) - 1);
  EXPECT_EQ(TextsOf(result), c.pieces) << std::string(c.text.begin(), c.text.end());
}

TEST(Split, CutsAtEveryDelimiterInBinaryMode) {
  const SplitCase cases[] = {
      {u"1.2.3.4", Variant::Str(u"."), -1, 0, {u"1", u"2", u"3", u"4"}},
      {u"", Variant::Str(u"."), -1, 0, {}},
      {u"a.b.c", Variant::Str(u"."), 2, 0, {u"a", u"b.c"}},
      {u"a.b.c", Variant::Str(u"."), 1, 0, {u"a.b.c"}},
      {u"a.b.c", Variant::Str(u"."), 3, 0, {u"a", u"b", u"c"}},
      {u"a.b.c", Variant::Str(u"."), 100, 0, {u"a", u"b", u"c"}},
      {u"a.b.c", Variant::Str(u"."), 0, 0, {}},
      {u"a", Variant::Str(u""), -1, 0, {u"a"}},
      {u"", Variant::Str(u""), -1, 0, {}},
      {u"a b  c", Variant::Missing(), -1, 0, {u"a", u"b", u"", u"c"}},
      {u".a.", Variant::Str(u"."), -1, 0, {u"", u"a", u""}},
      {u"..", Variant::Str(u"."), -1, 0, {u"", u"", u""}},
      {u"aXbxc", Variant::Str(u"x"), -1, 0, {u"aXb", u"c"}},
      {u"a::b:::c", Variant::Str(u"::"), -1, 0, {u"a", u"b", u":c"}},
      {u"abcabcab", Variant::Str(u"abcab"), -1, 0, {u"", u"cab"}},
      {u"aabaabaac", Variant::Str(u"aabaac"), -1, 0, {u"aab", u""}},
      {u"xyz", Variant::Str(u"xyzw"), -1, 0, {u"xyz"}},
      {u"1-2", Variant::I4(-1), -1, 0, {u"1-2"}},
      {u"a1b1c", Variant::I4(1), -1, 0, {u"a", u"b", u"c"}},
      {u"aTruebTruec", Variant::Bool(true), 2, 0, {u"a", u"bTruec"}},
      {u"\U0001F600|\U0001F600", Variant::Str(u"|"), -1, 0, {u"\U0001F600", u"\U0001F600"}},
      {u"a\xD800"
       u"b\xD800"
       u"c",
       Variant::Str(u"\xD800"),
       -1,
       0,
       {u"a", u"b", u"c"}},
  };
  for (const SplitCase& c : cases)
    ExpectSplit(c);
}

TEST(Split, TextModeIgnoresCaseKanaTypeAndWidth) {
  ScopedLocaleValues english(0x0409);
  const SplitCase cases[] = {
      {u"aXbxc", Variant::Str(u"x"), -1, 1, {u"a", u"b", u"c"}},
      {u"aXbxc", Variant::Str(u"x"), -1, 0x0409, {u"a", u"b", u"c"}},
      {u"aXbxc", Variant::Str(u"x"), 2, 1, {u"a", u"bxc"}},
      {u"oneANDtwoandthree", Variant::Str(u"And"), -1, 1, {u"one", u"two", u"three"}},
      {u"a\uFF38b", Variant::Str(u"x"), -1, 1, {u"a", u"b"}},  // full-width X
      {u"", Variant::Str(u"x"), -1, 1, {}},
  };
  for (const SplitCase& c : cases)
    ExpectSplit(c);
}

TEST(Split, RejectsBadLimitsLocalesAndDelimiters) {
  Bstr text(u"a.b");
  ValueObject object(Variant::Str(u"."));
  struct Case {
    Variant delimiter;
    LONG limit;
    LONG compare;
    HRESULT status;
  } cases[] = {
      {Variant::Str(u"."), -2, 0, E_INVALIDARG},
      {Variant::Str(u"."), INT32_MIN, 0, E_INVALIDARG},
      {Variant::Str(u"."), -1, 0x7777, E_INVALIDARG},
      {Variant::Str(u"."), -1, -1, E_INVALIDARG},
      {Variant::Null(), -1, 0, ErrorStatus(94)},
      {ObjectVariant(nullptr), -1, 0, ErrorStatus(91)},
      {Variant::Error(E_FAIL), -1, 0, DISP_E_TYPEMISMATCH},
      {ObjectVariant(&object), -1, 0, S_OK},
  };
  for (const Case& c : cases) {
    Variant result;
    EXPECT_EQ(Split(text.get(), c.delimiter, c.limit, c.compare, result.out()), c.status)
        << c.limit << " " << c.compare << " " << c.delimiter.vt;
    if (FAILED(c.status)) {
      EXPECT_EQ(result.vt, VT_EMPTY);
    }
  }
}

TEST(Split, FollowsADelimiterByReference) {
  Variant inner = Variant::Str(u"-");
  VARIANT reference = RefTo(inner);
  VARIANT twice = RefTo(reference);
  ExpectSplit({u"1-2", Variant(), -1, 0, {u"1-2"}});  // Empty reads as the empty text
  Bstr text(u"1-2");
  Variant result;
  ASSERT_EQ(Split(text.get(), twice, -1, 0, result.out()), S_OK);
  EXPECT_EQ(TextsOf(result), (Texts{u"1", u"2"}));
}

TEST(Split, MoreMatchesThanTheFixedTableHoldsMoveToTheHeap) {
  for (size_t pieces :
       {size_t{8192}, size_t{8193}, size_t{8194}, size_t{0x20000 + 8194}, size_t{3 * 0x20000}}) {
    std::u16string text;
    for (size_t i = 0; i < pieces; ++i) {
      if (i) text += u',';
      text += static_cast<char16_t>(u'a' + i % 26);
    }
    Bstr b(text);
    Variant result;
    ASSERT_EQ(Split(b.get(), Variant::Str(u","), -1, 0, result.out()), S_OK);
    ASSERT_EQ(UpperBound(result), static_cast<LONG>(pieces) - 1);
    const Texts texts = TextsOf(result);
    for (size_t i = 0; i < pieces; ++i) {
      ASSERT_EQ(texts[i], std::u16string(1, static_cast<char16_t>(u'a' + i % 26))) << i;
    }
  }
}

TEST(Split, LongTextsWithOneCharacterDelimiters) {
  std::u16string text;
  text.reserve(10'000'000);
  while (text.size() + 2 <= 10'000'000)
    text += u"a,";
  Bstr b(text);
  Variant result;
  ASSERT_EQ(Split(b.get(), Variant::Str(u","), -1, 0, result.out()), S_OK);
  EXPECT_EQ(UpperBound(result), 5'000'000);

  std::u16string noDelimiter(10'000'000, u'a');
  Bstr whole(noDelimiter);
  ASSERT_EQ(Split(whole.get(), Variant::Str(u"aab"), -1, 0, result.out()), S_OK);
  EXPECT_EQ(UpperBound(result), 0);
}

TEST(UBound, GivesTheUpperBoundOfADimension) {
  SAFEARRAYBOUND bounds[2] = {{3, 1}, {0, 0}};  // rgsabound order: last dimension first
  Variant array;
  array.vt = VT_ARRAY | VT_I4;
  array.parray = SafeArrayCreate(VT_I4, 2, bounds);
  ASSERT_NE(array.parray, nullptr);
  SAFEARRAY* held = array.parray;
  Variant reference;
  reference.vt = VT_ARRAY | VT_I4 | VT_BYREF;
  reference.pparray = &held;
  struct Case {
    const VARIANT* array;
    LONG dimension;
    HRESULT status;
    LONG upper;
  } cases[] = {
      {&array, 1, S_OK, 3},   {&array, 2, S_OK, -1},  {&reference, 1, S_OK, 3},
      {&array, 0, E_FAIL, 0}, {&array, 3, E_FAIL, 0}, {&array, -1, E_FAIL, 0},
  };
  for (const Case& c : cases) {
    LONG upper = -99;
    EXPECT_EQ(UBound(*c.array, c.dimension, &upper), c.status) << c.dimension;
    if (c.status == S_OK) {
      EXPECT_EQ(upper, c.upper) << c.dimension;
    }
  }
}

TEST(UBound, RejectsWhatIsNoArray) {
  Variant nullArray;
  nullArray.vt = VT_ARRAY | VT_BSTR;
  nullArray.parray = nullptr;
  LONG upper = 0;
  EXPECT_EQ(UBound(Variant::I4(1), 1, &upper), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(UBound(Variant::Str(u"a"), 1, &upper), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(UBound(nullArray, 1, &upper), ErrorStatus(9));
}

}  // namespace
}  // namespace rt

#include "runtime/library/TextFunctions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "LibraryTestSupport.h"
#include "platform/oleauto/ValueObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

using testing::Adopted;
using testing::ObjectVariant;
using testing::RefTo;
using testing_support::ValueObject;

constexpr LONG kBelowRange = -1073741825;  // one below -1073741824

TEST(Asc, GivesTheAnsiCodeOfTheFirstCharacter) {
  struct Case {
    std::u16string_view text;
    SHORT code;
  } cases[] = {
      {u"A", 65},        {u"abc", 97}, {u"\u00E9", 0xE9},  // é
      {u"\u20AC", 0x80},                                   // € in code page 1252
      {u"\u4E00", 63},  // not in the code page: its default character
      {u"\xD800", 63},  // an unpaired surrogate alone
      {{u"\0x", 2}, 0},
  };
  for (const Case& c : cases) {
    Bstr text(c.text);
    SHORT code = -1;
    ASSERT_EQ(Asc(text.get(), &code), S_OK);
    EXPECT_EQ(code, c.code) << static_cast<int>(c.text[0]);
  }
}

TEST(Asc, EmptyTextIsAnInvalidProcedureCall) {
  SHORT code = -1;
  EXPECT_EQ(Asc(nullptr, &code), E_INVALIDARG);
  Bstr empty(u"");
  EXPECT_EQ(Asc(empty.get(), &code), E_INVALIDARG);
}

struct CountCase {
  std::u16string_view text;
  LONG count;
  HRESULT status;
  std::u16string_view left;
  std::u16string_view right;
};

TEST(LeftAndRight, TakeCountCharactersOrFailForCountsOutOfRange) {
  const CountCase cases[] = {
      {u"abc", 0, S_OK, u"", u""},
      {u"abc", 2, S_OK, u"ab", u"bc"},
      {u"abc", 3, S_OK, u"abc", u"abc"},
      {u"abc", 5, S_OK, u"abc", u"abc"},
      {u"abc", 0x3FFFFFFF, S_OK, u"abc", u"abc"},
      {u"", 1, S_OK, u"", u""},
      {u"abc", 0x40000000, E_INVALIDARG, u"", u""},
      {u"abc", 0x7FFFFFFF, E_INVALIDARG, u"", u""},
      {u"abc", -1, E_INVALIDARG, u"", u""},
      {u"abc", -1073741824, E_INVALIDARG, u"", u""},
      {u"abc", kBelowRange, E_INVALIDARG, u"", u""},
      {u"abc", INT32_MIN, E_INVALIDARG, u"", u""},
  };
  for (const CountCase& c : cases) {
    Bstr text(c.text);
    BSTR left = nullptr;
    EXPECT_EQ(Left(text.get(), c.count, &left), c.status) << c.count;
    EXPECT_EQ(Adopted(left), c.left) << c.count;

    Variant value = Variant::Str(c.text);
    Variant right;
    EXPECT_EQ(Right(value, c.count, right.out()), c.status) << c.count;
    if (c.status == S_OK) {
      ASSERT_EQ(right.vt, VT_BSTR);
      EXPECT_EQ(Bstr(right.bstrVal).view(), c.right) << c.count;
    } else {
      EXPECT_EQ(right.vt, VT_EMPTY);
    }
  }
}

TEST(Left, KeepsSurrogatePairsAsTwoUnits) {
  Bstr text(u"\U0001F600x");
  BSTR left = nullptr;
  ASSERT_EQ(Left(text.get(), 1, &left), S_OK);
  EXPECT_EQ(Adopted(left), u"\xD83D");
}

TEST(Right, NormalisesItsValue) {
  testing::ScopedLocaleValues english(0x0409);
  ValueObject object(Variant::Str(u"from object"));
  Variant objectValue = ObjectVariant(&object);
  Variant number = Variant::R8(12.5);
  Variant boolean = Variant::Bool(true);
  Variant inner = Variant::Str(u"referred");
  VARIANT reference = RefTo(inner);
  struct Case {
    const VARIANT* value;
    std::u16string_view right;
  } cases[] = {
      {&objectValue, u"object"},
      {&number, u"12.5"},
      {&boolean, u"True"},
      {&reference, u"ferred"},
  };
  for (const Case& c : cases) {
    Variant right;
    ASSERT_EQ(Right(*c.value, static_cast<LONG>(c.right.size()), right.out()), S_OK);
    ASSERT_EQ(right.vt, VT_BSTR);
    EXPECT_EQ(Bstr(right.bstrVal).view(), c.right);
  }
  EXPECT_EQ(object.invokes(), 1);
}

TEST(Right, NullGivesNullAndANullObjectFails) {
  Variant right;
  ASSERT_EQ(Right(Variant::Null(), 2, right.out()), S_OK);
  EXPECT_EQ(right.vt, VT_NULL);
  EXPECT_EQ(Right(ObjectVariant(nullptr), 2, right.out()), ErrorStatus(91));
}

struct MidCase {
  std::u16string_view text;
  LONG start;
  std::optional<LONG> length;
  HRESULT status;
  std::u16string_view result;
};

TEST(Mid, TakesCharactersFromAPositionWithinTheText) {
  const MidCase cases[] = {
      {u"abcdef", 3, std::nullopt, S_OK, u"cdef"},
      {u"abcdef", 1, std::nullopt, S_OK, u"abcdef"},
      {u"abcdef", 3, 2, S_OK, u"cd"},
      {u"abcdef", 6, 5, S_OK, u"f"},
      {u"abcdef", 7, std::nullopt, S_OK, u""},
      {u"abc", 5, 2, S_OK, u""},
      {u"abc", 2, 0, S_OK, u""},
      {u"abc", 0x40000000, 1, S_OK, u""},
      {u"abc", 1, 0x3FFFFFFF, S_OK, u"abc"},
      {u"", 1, std::nullopt, S_OK, u""},
      {u"abc", 0, std::nullopt, E_INVALIDARG, u""},
      {u"abc", -5, 1, E_INVALIDARG, u""},
      {u"abc", INT32_MIN, 1, E_INVALIDARG, u""},
      {u"abc", 0x40000001, 1, E_INVALIDARG, u""},
      {u"abc", INT32_MAX, 1, E_INVALIDARG, u""},
      {u"abc", 1, 0x40000000, E_INVALIDARG, u""},
      {u"abc", 1, -1, E_INVALIDARG, u""},
      {u"abc", 1, -1073741824, E_INVALIDARG, u""},
      {u"abc", 1, kBelowRange, E_INVALIDARG, u""},
  };
  for (const MidCase& c : cases) {
    Bstr text(c.text);
    Variant length = c.length ? Variant::I4(*c.length) : Variant::Missing();
    BSTR result = nullptr;
    EXPECT_EQ(Mid(text.get(), c.start, length, &result), c.status)
        << c.start << " " << c.length.value_or(-99);
    EXPECT_EQ(Adopted(result), c.result) << c.start << " " << c.length.value_or(-99);
  }
}

TEST(Mid, ConvertsItsLengthArgument) {
  Bstr text(u"abcdef");
  ValueObject object(Variant::Str(u"2"));
  struct Case {
    Variant length;
    HRESULT status;
    std::u16string_view result;
  } cases[] = {
      {Variant::Str(u"3"), S_OK, u"bcd"},
      {Variant::R8(2.5), S_OK, u"bc"},  // half to even
      {Variant::R8(3.5), S_OK, u"bcde"},
      {ObjectVariant(&object), S_OK, u"bc"},
      {Variant::Null(), ErrorStatus(94), u""},
      {ObjectVariant(nullptr), ErrorStatus(91), u""},
      {Variant::Str(u"many"), DISP_E_TYPEMISMATCH, u""},
      {Variant::R8(1e10), DISP_E_OVERFLOW, u""},
      {Variant::Error(E_FAIL), E_INVALIDARG, u""},  // an error value reads as its negative code
      {Variant::Error(1), S_OK, u"b"},
  };
  for (const Case& c : cases) {
    BSTR result = nullptr;
    EXPECT_EQ(Mid(text.get(), 2, c.length, &result), c.status) << c.length.vt;
    EXPECT_EQ(Adopted(result), c.result) << c.length.vt;
  }
}

TEST(Mid, MissingLengthByReferenceIsStillMissing) {
  Bstr text(u"abcdef");
  Variant missing = Variant::Missing();
  VARIANT reference = RefTo(missing);
  BSTR result = nullptr;
  ASSERT_EQ(Mid(text.get(), 4, reference, &result), S_OK);
  EXPECT_EQ(Adopted(result), u"def");
}

TEST(Mid, LongTextsAreCutWithoutCopyingMoreThanTheResult) {
  std::u16string long_text(10'000'000, u'x');
  long_text.replace(5'000'000, 3, u"abc");
  Bstr text(long_text);
  BSTR result = nullptr;
  ASSERT_EQ(Mid(text.get(), 5'000'001, Variant::I4(3), &result), S_OK);
  EXPECT_EQ(Adopted(result), u"abc");
  ASSERT_EQ(Mid(text.get(), 2, Variant::Missing(), &result), S_OK);
  EXPECT_EQ(SysStringLen(result), 9'999'999u);
  SysFreeString(result);
}

}  // namespace
}  // namespace rt

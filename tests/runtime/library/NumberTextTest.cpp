#include "runtime/library/NumberText.h"

#include <gtest/gtest.h>

#include <string>

#include "LibraryTestSupport.h"
#include "platform/oleauto/ValueObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

using testing::Adopted;
using testing::ObjectVariant;
using testing::RefTo;
using testing::ScopedLocaleValues;
using testing_support::ValueObject;

Variant I8(LONG64 v) {
  Variant x;
  x.vt = VT_I8;
  x.llVal = v;
  return x;
}

Variant Currency(LONG64 scaled) {
  Variant x;
  x.vt = VT_CY;
  x.cyVal.int64 = scaled;
  return x;
}

Variant Empty() {
  return Variant();
}

struct TextCase {
  Variant value;
  HRESULT status;
  std::u16string_view text;
};

TEST(Str, WritesNumbersWithASignPlace) {
  ScopedLocaleValues english(0x0409);
  const TextCase cases[] = {
      {Variant::I4(5), S_OK, u" 5"},
      {Variant::I4(-5), S_OK, u"-5"},
      {Variant::I2(0), S_OK, u" 0"},
      {Empty(), S_OK, u" 0"},
      {Variant::R8(2.5), S_OK, u" 2.5"},
      {Variant::R8(-0.25), S_OK, u"-0.25"},
      {Variant::Bool(true), S_OK, u"True"},
      {Variant::Bool(false), S_OK, u"False"},
      {Variant::Str(u"42"), S_OK, u" 42"},
      {Variant::Str(u" -7.5 "), S_OK, u"-7.5"},
      {Variant::Str(u"abc"), DISP_E_TYPEMISMATCH, u""},
      {Variant::Null(), ErrorStatus(94), u""},
      {ObjectVariant(nullptr), ErrorStatus(91), u""},
  };
  for (const TextCase& c : cases) {
    BSTR text = nullptr;
    EXPECT_EQ(Str(c.value, &text), c.status) << c.value.vt;
    EXPECT_EQ(Adopted(text), c.text) << c.value.vt;
  }
}

TEST(Str, KeepsTheFullStopUnderACommaLocale) {
  ScopedLocaleValues german(0x0407);
  const TextCase cases[] = {
      {Variant::R8(2.5), S_OK, u" 2.5"},
      {Variant::R8(-1234.75), S_OK, u"-1234.75"},
      {Variant::Str(u"2,5"), S_OK, u" 2.5"},  // read under the user's locale
      {Variant::Bool(true), S_OK, u"True"},
  };
  for (const TextCase& c : cases) {
    BSTR text = nullptr;
    EXPECT_EQ(Str(c.value, &text), c.status);
    EXPECT_EQ(Adopted(text), c.text);
  }
}

// Doubles are written plainly from 1E-11 to 1E15, with a full stop in every
// locale.
TEST(Str, PlainNotationAndTheFullStopInEveryLocale) {
  const struct {
    double value;
    std::u16string_view text;
  } cases[] = {
      {-0.00001, u"-0.00001"},
      {0.00001, u" 0.00001"},
      {1e-11, u" 0.00000000001"},
      {1e-12, u" 1E-12"},
      {-2.5e-13, u"-2.5E-13"},
      {123456789012345, u" 123456789012345"},
      {1e15, u" 1E+15"},
      {1.2e15, u" 1.2E+15"},
      {0.5, u" 0.5"},
      {1.0 / 3.0, u" 0.333333333333333"},
  };
  for (LCID lcid : {0x0409, 0x040C, 0x0407, 0x0C0A, 0x0415}) {
    ScopedLocaleValues locale(lcid);
    for (const auto& c : cases) {
      BSTR text = nullptr;
      EXPECT_EQ(Str(Variant::R8(c.value), &text), S_OK);
      EXPECT_EQ(Adopted(text), c.text) << c.value << " in " << std::hex << lcid;
    }
  }
}

Variant OfType(VARTYPE vt, LONG64 bits) {
  Variant x;
  x.vt = vt;
  x.llVal = bits;
  return x;
}

// Integers are written digit for digit, whatever the locale's separator.
TEST(Str, WritesIntegersOfEveryWidthToTheirLimits) {
  const struct {
    Variant value;
    std::u16string_view text;
  } cases[] = {
      {OfType(VT_I1, -128), u"-128"},
      {OfType(VT_I1, 127), u" 127"},
      {OfType(VT_UI1, 0), u" 0"},
      {OfType(VT_UI1, 255), u" 255"},
      {Variant::I2(-32768), u"-32768"},
      {Variant::I2(-1), u"-1"},
      {Variant::I2(0), u" 0"},
      {Variant::I2(32767), u" 32767"},
      {OfType(VT_UI2, 65535), u" 65535"},
      {Variant::I4(INT32_MIN), u"-2147483648"},
      {Variant::I4(INT32_MAX), u" 2147483647"},
      {OfType(VT_INT, -10), u"-10"},
      {OfType(VT_UI4, 4294967295), u" 4294967295"},
      {OfType(VT_UINT, 1000), u" 1000"},
      {I8(INT64_MIN), u"-9223372036854775808"},
      {I8(INT64_MAX), u" 9223372036854775807"},
      {OfType(VT_UI8, -1), u" 18446744073709551615"},
  };
  for (LCID lcid : {0x0409, 0x0407, 0x040C, 0x0415}) {
    ScopedLocaleValues locale(lcid);
    for (const auto& c : cases) {
      BSTR text = nullptr;
      ASSERT_EQ(Str(c.value, &text), S_OK) << c.value.vt;
      EXPECT_EQ(Adopted(text), c.text) << c.value.vt << " in " << std::hex << lcid;
    }
  }
}

TEST(Str, FollowsReferencesAndObjects) {
  ScopedLocaleValues english(0x0409);
  ValueObject object(Variant::I4(7));
  Variant objectValue = ObjectVariant(&object);
  VARIANT reference = RefTo(objectValue);
  BSTR text = nullptr;
  ASSERT_EQ(Str(reference, &text), S_OK);
  EXPECT_EQ(Adopted(text), u" 7");

  LONG number = -3;
  VARIANT numberReference;
  numberReference.vt = VT_I4 | VT_BYREF;
  numberReference.plVal = &number;
  ASSERT_EQ(Str(numberReference, &text), S_OK);
  EXPECT_EQ(Adopted(text), u"-3");
}

TEST(Hex, WritesTwosComplementWidthsByArgumentType) {
  SHORT minusOne16 = -1;
  Variant i2Reference;
  i2Reference.vt = VT_I2 | VT_BYREF;
  i2Reference.piVal = &minusOne16;
  const struct {
    Variant value;
    std::u16string_view text;
  } cases[] = {
      {Variant::I4(255), u"FF"},
      {Variant::I2(-1), u"FFFF"},
      {i2Reference, u"FFFF"},
      {Variant::I4(-1), u"FFFFFFFF"},
      {Variant::R8(-1), u"FFFFFFFFFFFFFFFF"},
      {Variant::I4(0), u"0"},
      {Empty(), u"0"},
      {Variant::I2(-32768), u"8000"},
      {Variant::I4(INT32_MIN), u"80000000"},
      {I8(INT64_MIN), u"8000000000000000"},
      {I8(INT64_MAX), u"7FFFFFFFFFFFFFFF"},
      {Variant::R8(2.5), u"2"},  // half to even
      {Variant::R8(3.5), u"4"},
      {Variant::Str(u"255"), u"FF"},
      {Variant::Bool(true), u"FFFFFFFFFFFFFFFF"},
      {Currency(25'000), u"2"},  // 2.5 through the currency conversion
      {Currency(-10'000), u"FFFFFFFFFFFFFFFF"},
  };
  for (const auto& c : cases) {
    BSTR text = nullptr;
    ASSERT_EQ(HexText(c.value, &text), S_OK) << c.value.vt;
    EXPECT_EQ(Adopted(text), c.text) << c.value.vt;
    Variant variant;
    ASSERT_EQ(HexVariant(c.value, variant.out()), S_OK);
    ASSERT_EQ(variant.vt, VT_BSTR);
    EXPECT_EQ(Bstr(variant.bstrVal).view(), c.text);
  }
}

TEST(Hex, NullIsAnErrorAsTextAndNullAsVariant) {
  BSTR text = nullptr;
  EXPECT_EQ(HexText(Variant::Null(), &text), ErrorStatus(94));
  EXPECT_EQ(text, nullptr);
  Variant variant;
  ASSERT_EQ(HexVariant(Variant::Null(), variant.out()), S_OK);
  EXPECT_EQ(variant.vt, VT_NULL);
}

TEST(Hex, ReportsConversionFailures) {
  const TextCase cases[] = {
      {Variant::Str(u"x"), DISP_E_TYPEMISMATCH, u""},
      {Variant::R8(1e30), DISP_E_OVERFLOW, u""},
      {ObjectVariant(nullptr), ErrorStatus(91), u""},
  };
  for (const TextCase& c : cases) {
    BSTR text = nullptr;
    EXPECT_EQ(HexText(c.value, &text), c.status);
    Variant variant;
    EXPECT_EQ(HexVariant(c.value, variant.out()), c.status);
    EXPECT_EQ(variant.vt, VT_EMPTY);
  }
}

TEST(Format, UsesTheNumberPatternAndTheLocaleSeparator) {
  struct Case {
    LCID lcid;
    Variant value;
    Variant format;
    HRESULT status;
    std::u16string_view text;
  } cases[] = {
      {0x0409, Variant::R8(12.3456), Variant::Str(u"#0.##0"), S_OK, u"12.346"},
      {0x0409, Variant::R8(0.5), Variant::Str(u"#0.##0"), S_OK, u"0.500"},
      {0x0407, Variant::R8(12.3456), Variant::Str(u"#0.##0"), S_OK, u"12,346"},
      {0x0409, Variant::Null(), Variant::Str(u"#0.##0"), S_OK, u""},
      {0x0409, Variant::Null(), Variant::Null(), S_OK, u""},
      {0x0409, Variant::I4(5), Variant::Missing(), S_OK, u"5"},
      {0x0409, Variant::I4(5), Variant::Null(), ErrorStatus(94), u""},
      {0x0409, Variant::I4(5), ObjectVariant(nullptr), ErrorStatus(91), u""},
      {0x0409, ObjectVariant(nullptr), Variant::Missing(), ErrorStatus(91), u""},
  };
  for (const Case& c : cases) {
    ScopedLocaleValues locale(c.lcid);
    BSTR text = nullptr;
    EXPECT_EQ(Format(c.value, c.format, 0, 0, &text), c.status) << c.lcid << " " << c.value.vt;
    EXPECT_EQ(Adopted(text), c.text) << c.lcid << " " << c.value.vt;
  }
}

// The log's time stamps: every millisecond up to 100 seconds, as whole
// seconds and three decimals, with the decimal separator of the locale.
TEST(Format, WritesEveryMillisecondOfATimeStamp) {
  for (LCID lcid : {0x0409, 0x0407}) {
    ScopedLocaleValues locale(lcid);
    const char16_t separator = lcid == 0x0409 ? u'.' : u',';
    for (int milliseconds = 0; milliseconds < 100'000; ++milliseconds) {
      std::u16string expected;
      for (char c : std::to_string(milliseconds / 1000))
        expected.push_back(static_cast<char16_t>(c));
      expected.push_back(separator);
      const int thousandths = milliseconds % 1000;
      for (int unit : {100, 10, 1})
        expected.push_back(static_cast<char16_t>(u'0' + thousandths / unit % 10));
      BSTR text = nullptr;
      ASSERT_EQ(Format(Variant::R8(milliseconds / 1000.0), Variant::Str(u"#0.##0"), 1, 1, &text),
                S_OK);
      ASSERT_EQ(Adopted(text), expected) << milliseconds;
    }
  }
}

// A type the copy of a variant does not know fails as that copy does, before
// the arguments of the formatting are looked at; a value of a known type
// that has no text fails in the formatting.
TEST(Format, ReportsTheStatusOfAValueItCannotFormat) {
  ScopedLocaleValues english(0x0409);
  const struct {
    VARTYPE vt;
    int firstDay;
    HRESULT status;
  } cases[] = {
      {15, 1, DISP_E_BADVARTYPE},
      {36, 9, DISP_E_BADVARTYPE},
      {VT_ARRAY | VT_NULL, 1, DISP_E_BADVARTYPE},
      {VT_ERROR, 1, DISP_E_TYPEMISMATCH},
      {VT_ERROR, 9, E_INVALIDARG},
  };
  for (const auto& c : cases) {
    Variant value;
    value.vt = c.vt;
    BSTR text = nullptr;
    EXPECT_EQ(Format(value, Variant::Str(u"0.0"), c.firstDay, 1, &text), c.status) << c.vt;
    EXPECT_EQ(text, nullptr);
    value.vt = VT_EMPTY;
  }
}

TEST(Format, TakesItsFormatFromAnObjectOrANumber) {
  ScopedLocaleValues english(0x0409);
  ValueObject object(Variant::Str(u"0.0"));
  BSTR text = nullptr;
  ASSERT_EQ(Format(Variant::R8(2.25), ObjectVariant(&object), 0, 0, &text), S_OK);
  EXPECT_EQ(Adopted(text), u"2.3");
  ASSERT_EQ(Format(Variant::I4(7), Variant::I4(0), 0, 0, &text), S_OK);  // format "0"
  EXPECT_EQ(Adopted(text), u"7");
}

TEST(Format, FirstDayAndWeekDefaultToTheLocaleValues) {
  ScopedLocaleValues english(0x0409);
  Variant date;
  date.vt = VT_DATE;
  date.date = 36528;  // Monday 3 January 2000
  struct Case {
    int firstDay;
    std::u16string_view weekday;
  } cases[] = {
      {0, u"2"},  // the locale's Sunday
      {1, u"2"},
      {2, u"1"},  // Monday
  };
  for (const Case& c : cases) {
    BSTR text = nullptr;
    ASSERT_EQ(Format(date, Variant::Str(u"w"), c.firstDay, 0, &text), S_OK);
    EXPECT_EQ(Adopted(text), c.weekday) << c.firstDay;
  }
}

}  // namespace
}  // namespace rt

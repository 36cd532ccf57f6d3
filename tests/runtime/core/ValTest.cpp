#include "runtime/core/Val.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/locale.h"
#include "runtime/core/ErrorNumbers.h"

namespace rt {
namespace {

double ValOf(std::u16string_view text) {
  Bstr b(text);
  double value = -999;
  EXPECT_EQ(ValOfText(b.get(), &value), S_OK) << std::string(text.begin(), text.end());
  return value;
}

TEST(ValOfText, ReadsTheLeadingNumber) {
  struct Case {
    std::u16string_view text;
    double value;
  } cases[] = {
      {u"", 0},
      {u"  42abc", 42},
      {u"abc", 0},
      {u"3.5", 3.5},
      {u"3,5", 3},
      {u"-1e3", -1000},
      {u"+7", 7},
      {u"1 2 3", 123},
      {u"\t1\r\n2\u30003", 123},
      {u".5", 0.5},
      {u"12%", 12},
      {u"12&", 12},
      {u"1.5!", 1.5},
      {u"1e", 1},
      {u"--1", 0},
      {u"&H", 0},
      {u"&", 0},
      // Digits alone, up to and past the length read directly.
      {u"0", 0},
      {u"007", 7},
      {u"999999999999999", 999999999999999.0},
      {u"12345678901234567", 12345678901234567.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(ValOf(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(ValOfText, ReadsHexAndOctalAsSixteenBitUnlessSuffixed) {
  struct Case {
    std::u16string_view text;
    double value;
  } cases[] = {
      {u"&H10", 16},       {u"&HFFFF", -1},     {u"&H8000", -32768}, {u"&H7FFF", 32767},
      {u"&H10000", 65536}, {u"&HFFFF&", 65535}, {u"&HFFFF!", 65535}, {u"&HFFFF#", 65535},
      {u"&HFFFF@", 65535}, {u"&HFFFF%", -1},    {u"&O17", 15},       {u"&O177777", -1},
      {u"&hff", 255},      {u"& H 1 0", 16},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(ValOf(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(ValOfText, IgnoresTheUserLocale) {
  platform::ScopedUserLocale german(0x0407);
  EXPECT_DOUBLE_EQ(ValOf(u"3.5"), 3.5);
  EXPECT_DOUBLE_EQ(ValOf(u"3,5"), 3);
}

TEST(ValOfText, RejectsAnIntegerSuffixAfterAFractionOrExponent) {
  for (std::u16string_view text : {u"1.5%", u"1.5&", u"1e3%", u"2.&"}) {
    Bstr b(text);
    double value = -1;
    const HRESULT status = ValOfText(b.get(), &value);
    EXPECT_EQ(status, DISP_E_TYPEMISMATCH) << std::string(text.begin(), text.end());
    EXPECT_EQ(MapStatusToNumber(status), 13);
  }
}

TEST(ValOfText, ReportsANumberBeyondADouble) {
  Bstr b(u"1e999");
  double value = -1;
  EXPECT_EQ(ValOfText(b.get(), &value), DISP_E_OVERFLOW);
}

TEST(ValOfText, NullTextIsZero) {
  double value = -1;
  EXPECT_EQ(ValOfText(nullptr, &value), S_OK);
  EXPECT_EQ(value, 0);
}

TEST(ValOfText, LongTextsWithManySpacesStayLinear) {
  std::u16string text(10'000'000, u' ');
  text.replace(text.size() - 3, 2, u"42");
  EXPECT_DOUBLE_EQ(ValOf(text), 42);
  std::u16string digits(1'000'000, u'1');
  Bstr b(digits);
  double value = 0;
  EXPECT_EQ(ValOfText(b.get(), &value), DISP_E_OVERFLOW);
}

}  // namespace
}  // namespace rt

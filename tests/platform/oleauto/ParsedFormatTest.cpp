#include "internal/ParsedFormat.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/locale.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::ParsedFormat;
using platform::internal::SectionKind;

// More formats than a thread remembers, so that alternating between them
// parses some of them again.
const std::vector<std::u16string> kFormats = {
    u"#0.##0",
    u"0.00",
    u"#,##0.00;(#,##0.00);\"zero\"",
    u"0.00E+00",
    u"0%",
    u"#,##0,,",
    u"0.0;;;\"nil\"",
    u"yyyy-mm-dd",
    u"@@-@",
    u">@",
    u"0.0",
    u"0.00 ;-0.00 ",
    u"##0.0E-0",
    u"\"#\"0",
    u"0.0000000000000000000",
    u"fixed",
    u"Standard",
    u"hh:nn:ss",
};

std::vector<Variant> Values() {
  std::vector<Variant> values = {Variant::R8(12.3456),     Variant::R8(-0.5),   Variant::R8(0),
                                 Variant::R8(1234567.891), Variant::I4(-42),    Variant::Null(),
                                 Variant::Str(u"abc"),     Variant::Str(u"3.5")};
  Variant date;
  date.vt = VT_DATE;
  date.date = 45356.5;
  values.push_back(date);
  return values;
}

std::u16string Formatted(const Variant& value, const std::u16string& format) {
  Variant copy = value;
  BSTR out = nullptr;
  const HRESULT hr = VarFormat(&copy, const_cast<LPOLESTR>(format.c_str()), 0, 0, 0, &out);
  if (FAILED(hr)) return u"<error>";
  if (!out) return u"<null>";
  std::u16string text(out, SysStringLen(out));
  SysFreeString(out);
  return text;
}

// Every value in every format, the formats in the given order.
std::vector<std::u16string> FormatAll(const std::vector<size_t>& order) {
  std::vector<std::u16string> texts;
  const std::vector<Variant> values = Values();
  for (size_t index : order) {
    for (const Variant& value : values)
      texts.push_back(Formatted(value, kFormats[index]));
  }
  return texts;
}

TEST(ParsedFormat, RememberedFormatsFormatAsNewlyParsedOnes) {
  platform::ScopedUserLocale english(0x0409);
  std::vector<size_t> once;
  for (size_t i = 0; i < kFormats.size(); ++i)
    once.push_back(i);
  // A new thread remembers nothing yet: each format is parsed for its values.
  std::vector<std::u16string> parsed;
  std::thread([&] { parsed = FormatAll(once); }).join();

  // Here each format comes round again: some found remembered, some parsed
  // again after the others pushed them out, in a changing order.
  std::vector<size_t> alternating;
  for (int round = 0; round < 3; ++round) {
    for (size_t i = 0; i < kFormats.size(); ++i)
      alternating.push_back(round == 1 ? kFormats.size() - 1 - i : i);
    for (size_t i = 0; i < kFormats.size(); i += 2)
      alternating.push_back(i);
  }
  const std::vector<std::u16string> again = FormatAll(alternating);
  const size_t valueCount = Values().size();
  for (size_t k = 0; k < alternating.size(); ++k) {
    for (size_t v = 0; v < valueCount; ++v) {
      EXPECT_EQ(again[k * valueCount + v], parsed[alternating[k] * valueCount + v])
          << "format " << alternating[k] << ", value " << v << ", turn " << k;
    }
  }
}

TEST(ParsedFormat, TheSameTextIsParsedOnce) {
  const std::shared_ptr<const ParsedFormat> first = ParsedFormat::Of(u"0.0;(0.0)");
  EXPECT_EQ(ParsedFormat::Of(u"0.0;(0.0)"), first);
  EXPECT_EQ(first->text(), u"0.0;(0.0)");
  EXPECT_EQ(first->sectionCount(), 2u);
  EXPECT_EQ(first->section(1), u"(0.0)");
  EXPECT_TRUE(first->section(2).empty());
}

TEST(ParsedFormat, TextsThatShareABeginningAreDifferentFormats) {
  const std::shared_ptr<const ParsedFormat> shorter = ParsedFormat::Of(u"0.0");
  const std::shared_ptr<const ParsedFormat> longer = ParsedFormat::Of(u"0.00");
  const std::shared_ptr<const ParsedFormat> sections = ParsedFormat::Of(u"0.0;");
  EXPECT_NE(shorter, longer);
  EXPECT_NE(shorter, sections);
  EXPECT_EQ(ParsedFormat::Of(u"0.0")->text(), u"0.0");
  platform::ScopedUserLocale english(0x0409);
  EXPECT_EQ(Formatted(Variant::R8(2.25), u"0.0"), u"2.3");
  EXPECT_EQ(Formatted(Variant::R8(2.25), u"0.00"), u"2.25");
  EXPECT_EQ(Formatted(Variant::R8(-2.25), u"0.0;"), u"-2.3");
}

TEST(ParsedFormat, AFormatHandedOutOutlivesItsPlaceInTheCache) {
  const std::shared_ptr<const ParsedFormat> held = ParsedFormat::Of(u"00.0%");
  for (int i = 0; i < 40; ++i)
    ParsedFormat::Of(u"0" + std::u16string(static_cast<size_t>(i), u'#'));
  EXPECT_NE(ParsedFormat::Of(u"00.0%"), held);  // parsed again
  EXPECT_EQ(held->text(), u"00.0%");
  EXPECT_EQ(held->kind(0), SectionKind::Number);
  EXPECT_TRUE(held->numberPattern(0).hasDigits());
}

TEST(ParsedFormat, KindsOfEachSection) {
  const std::shared_ptr<const ParsedFormat> parsed = ParsedFormat::Of(u"0.0;@;dd mmm;\"n\"");
  EXPECT_EQ(parsed->kind(0), SectionKind::Number);
  EXPECT_EQ(parsed->kind(1), SectionKind::Text);
  EXPECT_EQ(parsed->kind(2), SectionKind::Date);
  EXPECT_EQ(parsed->kind(3), SectionKind::Number);
  EXPECT_FALSE(parsed->numberPattern(3).hasDigits());
}

TEST(ParsedFormat, LongFormatsAreParsedEachTime) {
  // A literal of 300 characters after the digit.
  const std::u16string format = u"0\"" + std::u16string(300, u'x') + u"\"";
  EXPECT_NE(ParsedFormat::Of(format), ParsedFormat::Of(format));
  platform::ScopedUserLocale english(0x0409);
  const std::u16string expected = u"7" + std::u16string(300, u'x');
  EXPECT_EQ(Formatted(Variant::I4(7), format), expected);
  EXPECT_EQ(Formatted(Variant::I4(7), format), expected);
}

}  // namespace

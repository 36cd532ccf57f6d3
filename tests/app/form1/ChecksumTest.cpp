// The one-pass checksum and counts against the procedure they replaced (Asc
// of each character in turn, folded bit by bit), on random texts that mix
// ASCII, the code page's upper half, its five unassigned bytes and
// characters the code page lacks (which count as "?").
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "Form1TestSupport.h"
#include "app/form1/internal/AnsiCodes.h"
#include "runtime/library/TextFunctions.h"

namespace skiffwire::testing {
namespace {

// The checksum as first written: the ANSI code of each character through
// Asc, XORed in, then eight shifts with the polynomial 0x07.
BYTE ReferenceCrc8(std::u16string_view text) {
  BYTE crc = 0;
  for (char16_t unit : text) {
    SHORT code = 0;
    EXPECT_EQ(rt::Asc(Bstr(std::u16string_view(&unit, 1)).get(), &code), S_OK);
    crc = static_cast<BYTE>((code ^ crc) & 0xFF);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x80) ? static_cast<BYTE>(((crc << 1) & 0xFF) ^ 0x07)
                         : static_cast<BYTE>((crc << 1) & 0xFF);
  }
  return crc;
}

std::u16string RandomText(std::mt19937& random) {
  // Runs of characters from each class, so every class meets every other.
  static constexpr char16_t kClasses[][2] = {
      {0x0020, 0x007E},  // printable ASCII
      {0x0000, 0x001F},  // controls, CR and LF among them
      {0x00A0, 0x00FF},  // Latin-1, the same bytes in the code page
      {0x0080, 0x009F},  // C1 controls: five are the code page's unassigned bytes
      {0x2013, 0x2122},  // punctuation: the euro sign, quotes and dashes, mostly absent
      {0x0100, 0x017F},  // Latin Extended-A: a few in the code page (Œ, Š, Ž)
      {0x0400, 0x04FF},  // Cyrillic: none
      {0xD800, 0xDFFF},  // lone surrogates
      {0x4E00, 0x9FFF},  // CJK
      {0xFFF0, 0xFFFF},  // the top of the range
  };
  std::uniform_int_distribution<size_t> length(0, 300);
  std::uniform_int_distribution<size_t> kind(0, std::size(kClasses) - 1);
  std::uniform_int_distribution<size_t> run(1, 8);
  std::u16string text;
  const size_t wanted = length(random);
  while (text.size() < wanted) {
    const auto& [low, high] = kClasses[kind(random)];
    std::uniform_int_distribution<int> unit(low, high);
    for (size_t i = run(random); i > 0 && text.size() < wanted; --i)
      text.push_back(static_cast<char16_t>(unit(random)));
  }
  return text;
}

std::u16string TwoHexDigits(BYTE value) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", value);
  return Utf16(digits);
}

TEST(AnsiCodes, EveryUnitHasTheCodeAscGives) {
  const internal::AnsiCodes& codes = internal::AnsiCodes::Get();
  int mismatches = 0;
  for (int unit = 0; unit < 0x10000; ++unit) {
    const auto character = static_cast<char16_t>(unit);
    SHORT code = 0;
    ASSERT_EQ(rt::Asc(Bstr(std::u16string_view(&character, 1)).get(), &code), S_OK);
    if (codes[character] != static_cast<uint8_t>(code & 0xFF)) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(codes[u'\u20AC'], 0x80);
  EXPECT_EQ(codes[u'\u0416'], '?');
  EXPECT_EQ(codes[0xD800], '?');
}

TEST(Crc8Procedure, AgreesWithTheCharacterByCharacterProcedureOnRandomTexts) {
  OnFreshThread([] {
    TestApp app;
    std::mt19937 random(20261207);
    for (int round = 0; round < 500; ++round) {
      const std::u16string text = RandomText(random);
      BYTE crc = 0;
      Enclosed([&] { crc = app.ui.code().Crc8(Bstr(text).get()); });
      ASSERT_EQ(crc, ReferenceCrc8(text)) << "round " << round;
    }
  });
}

TEST(UpdateChecksum, LabelsAgreeWithTheCharacterByCharacterProcedureOnRandomTexts) {
  OnFreshThread([] {
    TestApp app;
    std::mt19937 random(7);
    const std::u16string_view sizes[] = {u"1", u"7", u"128", u"-5"};
    for (int round = 0; round < 200; ++round) {
      const std::u16string text = RandomText(random);
      const std::u16string_view size = sizes[round % std::size(sizes)];
      app.ui.txtPacketLen->type(size);
      app.ui.txtDatagram->setText(text);
      // A window's text ends at its first NUL: the labels describe what the
      // box holds.
      const std::u16string held = app.ui.txtDatagram->text();
      EXPECT_EQ(held, text.substr(0, text.find(u'\0')));
      const auto length = static_cast<LONG>(held.size());
      const LONG quantity = length == 0 ? 0 : length / std::stol(Utf8(size)) + 1;
      EXPECT_EQ(app.ui.lblDatagramLength->caption(), Utf16(std::to_string(length)));
      EXPECT_EQ(app.ui.lblPacketQty->caption(), Utf16(std::to_string(quantity)));
      EXPECT_EQ(app.ui.lblChecksum->caption(), TwoHexDigits(ReferenceCrc8(held)));
    }
  });
}

}  // namespace
}  // namespace skiffwire::testing

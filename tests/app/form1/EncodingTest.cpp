// Packet encoding, the checksum and counts shown for the payload, and the
// elapsed-time prefix of log lines.
#include <gtest/gtest.h>

#include "Form1TestSupport.h"
#include "app/protocol/Crc8.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"

namespace skiffwire::testing {
namespace {

std::vector<std::u16string> Elements(const VARIANT& packets) {
  std::vector<std::u16string> out;
  if (packets.vt != (VT_ARRAY | VT_BSTR)) return out;
  LONG upper = -1;
  SafeArrayGetUBound(packets.parray, 1, &upper);
  for (LONG i = 0; i <= upper; ++i) {
    void* element = nullptr;
    SafeArrayPtrOfIndex(packets.parray, &i, &element);
    BSTR text = *static_cast<BSTR*>(element);
    out.emplace_back(text ? text : u"", SysStringLen(text));
  }
  return out;
}

LONG PendingNumber() {
  LONG pending = rt::CurrentErrorContext().error.pendingNumber;
  rt::CurrentErrorContext().error.pendingNumber = 0;
  return pending;
}

TEST(Crc8Procedure, ChecksumsOfTexts) {
  OnFreshThread([] {
    TestApp app;
    struct Case {
      std::u16string_view text;
      BYTE crc;
    } cases[] = {{u"123456789", 0xF4},
                 {u"abc", 0x5F},
                 {u"", 0x00},
                 // The euro sign is 0x80 in the ANSI code page; a character outside it
                 // counts as "?", the byte the socket control sends for it.
                 {u"\u20AC", protocol::Crc8("\x80")},
                 {u"A\u0416B", protocol::Crc8("A?B")}};
    for (const Case& c : cases) {
      BYTE crc = 0;
      Enclosed([&] { crc = app.ui.code().Crc8(Bstr(c.text).get()); });
      EXPECT_EQ(crc, c.crc) << Utf8(c.text);
      EXPECT_EQ(PendingNumber(), 0);
    }
  });
}

TEST(SplitIntoPackets, CutsThePayload) {
  OnFreshThread([] {
    TestApp app;
    struct Case {
      std::u16string_view text;
      LONG size;
      std::vector<std::u16string> packets;
    } cases[] = {
        {u"ABCDEFGHIJ", 4, {u"ABCD", u"EFGH", u"IJ"}},
        {u"ABCDEFGHIJ", 5, {u"ABCDE", u"FGHIJ"}},
        {u"ABCDEFGHIJ", 10, {u"ABCDEFGHIJ"}},
        {u"ABC", 128, {u"ABC"}},
        {u"", 4, {u""}},
        {u"", -4, {u""}},
    };
    for (const Case& c : cases) {
      Variant packets;
      Enclosed([&] { packets = app.ui.code().SplitIntoPackets(Bstr(c.text).get(), c.size); });
      EXPECT_EQ(PendingNumber(), 0) << Utf8(c.text) << " / " << c.size;
      EXPECT_EQ(Elements(packets), c.packets) << Utf8(c.text) << " / " << c.size;
    }
  });
}

TEST(SplitIntoPackets, CutsLikeTakingTheLeftOfTheRestAgainAndAgain) {
  OnFreshThread([] {
    TestApp app;
    for (size_t length : {1u, 2u, 7u, 64u, 1000u}) {
      std::u16string text;
      for (size_t i = 0; i < length; ++i)
        text.push_back(static_cast<char16_t>(u'a' + i % 26));
      for (LONG size : {1, 2, 3, 7, 64, 999, 1000, 5000}) {
        std::vector<std::u16string> expected;
        for (std::u16string rest = text; !rest.empty();
             rest = rest.substr(std::min<size_t>(rest.size(), static_cast<size_t>(size)))) {
          expected.push_back(rest.substr(0, static_cast<size_t>(size)));
        }
        Variant packets;
        Enclosed([&] { packets = app.ui.code().SplitIntoPackets(Bstr(text).get(), size); });
        EXPECT_EQ(PendingNumber(), 0);
        EXPECT_EQ(Elements(packets), expected) << length << " / " << size;
      }
    }
  });
}

TEST(SplitIntoPackets, BadSizesFailWithTheirRunTimeErrors) {
  OnFreshThread([] {
    TestApp app;
    struct Case {
      std::u16string_view text;
      LONG size;
      int error;
    } cases[] = {
        {u"ABC", 0, 11},          // division by zero
        {u"", 1, 9},              // upper bound -1
        {u"ABCDEFGHIJ", -4, 9},   // negative bound
        {u"ABC", -4, 5},          // Left with a negative count
        {u"ABC", 1073741824, 5},  // Left with a count beyond its range
        {u"ABC", 2147483647, 5},
    };
    for (const Case& c : cases) {
      Enclosed([&] { app.ui.code().SplitIntoPackets(Bstr(c.text).get(), c.size); });
      EXPECT_NE(PendingNumber(), 0) << Utf8(c.text) << " / " << c.size;
      EXPECT_EQ(rt::CurrentErrorContext().error.number, c.error) << Utf8(c.text) << " / " << c.size;
    }
  });
}

TEST(UpdateChecksum, LabelsFollowThePayload) {
  OnFreshThread([] {
    TestApp app;
    struct Case {
      std::u16string_view payload;
      std::u16string_view packetLength;
      std::u16string_view length, quantity, checksum;
    } cases[] = {
        {u"123456789", u"128", u"9", u"1", u"F4"},
        {u"ABCDEFGHIJ", u"5", u"10", u"3", u"5E"},  // Len \ size + 1, one more than sent
        {u"ABCDEFGHIJ", u"4", u"10", u"3", u"5E"},
        {u"abc", u"1", u"3", u"4", u"5F"},
        {u"", u"4", u"0", u"0", u"00"},
    };
    for (const Case& c : cases) {
      app.ui.txtPacketLen->type(c.packetLength);
      app.ui.txtDatagram->type(c.payload);
      EXPECT_EQ(app.ui.lblDatagramLength->caption(), c.length) << Utf8(c.payload);
      EXPECT_EQ(app.ui.lblPacketQty->caption(), c.quantity) << Utf8(c.payload);
      EXPECT_EQ(app.ui.lblChecksum->caption(), c.checksum) << Utf8(c.payload);
    }
  });
}

TEST(UpdateCounts, ABadPacketSizeLeavesTheQuantityAsItWas) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    const size_t boxesAtLoad = app.boxes.boxes().size();
    app.ui.txtDatagram->type(u"ABCDEFGHIJ");
    ASSERT_EQ(app.ui.lblPacketQty->caption(), u"1");
    for (std::u16string_view size : {u"0", u"abc", u"", u"99999999999", u"4x"}) {
      app.ui.txtPacketLen->type(size);
      EXPECT_EQ(app.ui.lblPacketQty->caption(), u"1") << Utf8(size);
      EXPECT_EQ(app.ui.lblDatagramLength->caption(), u"10");
    }
    app.ui.txtPacketLen->type(u"-3");
    EXPECT_EQ(app.ui.lblPacketQty->caption(), u"-2");
    EXPECT_EQ(app.boxes.boxes().size(), boxesAtLoad);  // nothing more reached the user
  });
}

TEST(ClearDatagram, EmptiesThePayloadAndResetsTheLabels) {
  OnFreshThread([] {
    TestApp app;
    app.ui.cmdClearDatagram->click();  // on an empty payload
    EXPECT_EQ(app.ui.lblDatagramLength->caption(), u"0");
    EXPECT_EQ(app.ui.lblPacketQty->caption(), u"0");
    EXPECT_EQ(app.ui.lblChecksum->caption(), u"00");
    app.ui.txtDatagram->type(u"abc");
    app.ui.cmdClearDatagram->click();
    EXPECT_EQ(app.ui.txtDatagram->text(), u"");
    EXPECT_EQ(app.ui.lblDatagramLength->caption(), u"0");
    EXPECT_EQ(app.ui.lblPacketQty->caption(), u"0");
    EXPECT_EQ(app.ui.lblChecksum->caption(), u"00");
  });
}

TEST(Timestamp, ElapsedSecondsSinceTheStart) {
  OnFreshThread([] {
    TestApp app;
    platform::ScopedVirtualClock clock(112345);
    struct Case {
      LONG startTick;
      std::u16string_view text;
    } cases[] = {
        {100000, u"12.345 - "}, {112345, u"0.000 - "}, {0, u"112.345 - "}, {112346, u"-0.001 - "}};
    for (const Case& c : cases) {
      app.ui.code().StartTick = c.startTick;
      Bstr text;
      Enclosed([&] { text = app.ui.code().Timestamp(); });
      EXPECT_EQ(PendingNumber(), 0);
      EXPECT_EQ(text.view(), c.text);
    }
    app.ui.code().StartTick = INT32_MIN;  // the Long subtraction overflows
    Enclosed([&] { app.ui.code().Timestamp(); });
    EXPECT_NE(PendingNumber(), 0);
    EXPECT_EQ(rt::CurrentErrorContext().error.number, 6);
  });
}

}  // namespace
}  // namespace skiffwire::testing

// The sending side against a plain receiving socket: which datagrams an
// attempt sends for each option, the retry limit, the wait state, and the
// run-time errors of bad packet sizes.
#include <gtest/gtest.h>

#include "Form1TestSupport.h"
#include "app/protocol/Crc8.h"
#include "app/protocol/Datagrams.h"
#include "platform/clock.h"
#include "platform/kernel.h"

namespace skiffwire::testing {
namespace {

constexpr uint64_t kStart = 500000;

// A connected application whose peer is a plain socket at 127.0.0.2.
struct SenderBench {
  platform::ScopedVirtualClock clock{kStart};
  uint16_t port = FreeUdpPort();
  TestSocket peer{"127.0.0.2", port, true};
  TestApp app;

  SenderBench() { app.connect(u"127.0.0.2", port); }

  std::vector<std::string> receiveAll() {
    std::vector<std::string> out;
    while (auto datagram = peer.receive(200ms))
      out.push_back(*datagram);
    return out;
  }
  std::vector<std::u16string> reports() const {
    std::vector<std::u16string> out;
    for (const platform::MessageBoxRecord& box : app.boxes.boxes()) {
      if (box.caption == u"shutdown") out.push_back(box.text);
    }
    return out;
  }
};

TEST(Sender, OnlyTickedOptionsAddTheirDatagrams) {
  struct Case {
    SHORT stx, checksum, eot;
    std::vector<std::string> datagrams;
  } cases[] = {
      {0, 0, 0, {"ABCD", "EFGH", "IJ"}},
      {1, 0, 0, {"02", "ABCD", "EFGH", "IJ"}},
      {0, 1, 0, {"ABCD", "EFGH", "IJ", "CRC5E10"}},
      {0, 0, 1, {"ABCD", "EFGH", "IJ", "04"}},
      {2, 2, 2, {"ABCD", "EFGH", "IJ"}},  // grey counts as unticked
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      SenderBench bench;
      TestApp& app = bench.app;
      app.ui.chkSTX->put_Value(c.stx);
      app.ui.chkChecksum->put_Value(c.checksum);
      app.ui.chkEOT->put_Value(c.eot);
      app.ui.txtPacketLen->type(u"4");
      app.ui.txtDatagram->type(u"ABCDEFGHIJ");
      app.ui.cmdSendDataGram->click();
      EXPECT_EQ(bench.receiveAll(), c.datagrams);
      EXPECT_EQ(app.log().back(), u"---- Timeout timer enabled ----");
      EXPECT_TRUE(app.ui.tmrTimeout->running());
    });
  }
}

TEST(Sender, UnmarkedAttemptLogsOnlyItsPackets) {
  OnFreshThread([] {
    SenderBench bench;
    TestApp& app = bench.app;
    app.ui.chkSTX->put_Value(0);
    app.ui.chkChecksum->put_Value(0);
    app.ui.chkEOT->put_Value(0);
    app.ui.txtPacketLen->type(u"2");
    app.ui.txtDatagram->type(u"");
    app.ui.cmdSendDataGram->click();
    EXPECT_EQ(bench.receiveAll(), std::vector<std::string>{""});  // one empty packet
    EXPECT_EQ(app.log(),
              (std::vector<std::u16string>{
                  u"---- Start transmission ----", u"---- Timeout timer disabled ----",
                  u"---- Transmission attempt 1 ----", u"0.000 - Sending packet  1 of  1",
                  u"---- Timeout timer enabled ----"}));
  });
}

TEST(Sender, TheRetryLimitIsReadWithVal) {
  struct Case {
    std::u16string_view retry;
    int attemptsSent;
  } cases[] = {{u"", 0}, {u"abc", 0}, {u"2.5", 2}, {u"1", 1}, {u" 2 ", 2}};
  for (const Case& c : cases) {
    OnFreshThread([&] {
      SenderBench bench;
      TestApp& app = bench.app;
      app.ui.chkSTX->put_Value(0);
      app.ui.chkChecksum->put_Value(0);
      app.ui.chkEOT->put_Value(0);
      app.ui.txtRetry->type(c.retry);
      app.ui.txtDatagram->type(u"x");
      app.ui.cmdSendDataGram->click();
      TestSocket nak("127.0.0.3", 0, false);
      for (int attempt = 1; attempt <= c.attemptsSent; ++attempt) {
        ASSERT_EQ(bench.peer.receive(), "x") << Utf8(c.retry);
        nak.sendTo("127.0.0.1", bench.port, "NAK");
        ASSERT_TRUE(PumpUntil([&] { return app.ui.server().eventsRaised() == size_t(attempt); }));
      }
      std::vector<std::u16string> log = app.log();
      ASSERT_GE(log.size(), 2u);
      EXPECT_EQ(log[log.size() - 2], u"---- Transmission attempt " +
                                         Utf16(std::to_string(c.attemptsSent + 1)) + u" ----")
          << Utf8(c.retry);
      EXPECT_EQ(log.back(), u"---- Maximum retry limit reached ----");
      EXPECT_EQ(bench.receiveAll(), std::vector<std::string>{});
      EXPECT_FALSE(app.ui.tmrTimeout->running());
    });
  }
}

TEST(Sender, ANegativeWaitStatePausesNothing) {
  OnFreshThread([] {
    SenderBench bench;
    TestApp& app = bench.app;
    app.ui.chkSTX->put_Value(0);
    app.ui.chkChecksum->put_Value(0);
    app.ui.chkEOT->put_Value(0);
    app.ui.txtWaitState->type(u"-5");
    app.ui.txtPacketLen->type(u"1");
    app.ui.txtDatagram->type(u"abc");
    app.ui.cmdSendDataGram->click();
    EXPECT_EQ(bench.receiveAll(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(GetTickCount(), kStart);  // Sleep never saw the value as a huge count
    EXPECT_EQ(app.log()[5], u"0.000 - Sending packet  3 of  3");
  });
}

TEST(Sender, PayloadOutsideTheAnsiCodePageKeepsChecksumAndBytesConsistent) {
  OnFreshThread([] {
    SenderBench bench;
    TestApp& app = bench.app;
    app.ui.txtDatagram->type(u"A\u20AC\u0416\U0001F600z");
    app.ui.cmdSendDataGram->click();
    std::vector<std::string> datagrams = bench.receiveAll();
    ASSERT_EQ(datagrams.size(), 4u);
    const std::string& payload = datagrams[1];
    auto checksum = protocol::ParseChecksumDatagram(datagrams[2]);
    ASSERT_TRUE(checksum);
    EXPECT_EQ(checksum->crc, protocol::Crc8(payload)) << payload;
    EXPECT_EQ(checksum->length, payload.size()) << payload;
  });
}

TEST(Sender, BadPacketSizesEndTheAttemptWithARunTimeError) {
  struct Case {
    std::u16string_view size;
    std::u16string_view report;
  } cases[] = {
      {u"0", u"Run-time error '11'\r\n\r\nDivision by zero"},
      {u"abc", u"Run-time error '11'\r\n\r\nDivision by zero"},
      {u"-4", u"Run-time error '9'\r\n\r\nSubscript out of range"},
      {u"4294967296", u"Run-time error '6'\r\n\r\nOverflow"},
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      SenderBench bench;
      TestApp& app = bench.app;
      app.ui.txtPacketLen->type(c.size);
      app.ui.txtDatagram->type(u"ABCDEFGHIJ");
      app.ui.cmdSendDataGram->click();
      EXPECT_EQ(bench.reports(), std::vector<std::u16string>{std::u16string(c.report)})
          << Utf8(c.size);
      EXPECT_EQ(app.log().back(), u"---- Transmission attempt 1 ----");
      EXPECT_FALSE(app.ui.tmrTimeout->running());
      EXPECT_EQ(bench.receiveAll(), std::vector<std::string>{});
    });
  }
}

TEST(Sender, TheStringButtonsSendTheirTextAlone) {
  OnFreshThread([] {
    SenderBench bench;
    TestApp& app = bench.app;
    app.ui.cmdString->click();
    app.ui.cmdClear->click();
    EXPECT_EQ(bench.receiveAll(), (std::vector<std::string>{"Hello World!", "clear"}));
    EXPECT_EQ(app.ui.txtProcess->text(), u"");
  });
}

}  // namespace
}  // namespace skiffwire::testing

// Transmissions end to end on loopback: Form1 over the real socket controls,
// the reference peer as a separate process bound to 127.0.0.2 at the same
// port number. Time runs on a virtual clock, so every timestamp in the log is
// exact and the reply time-out happens only when a test moves the clock.
#include <gtest/gtest.h>

#include "../form1/Form1TestSupport.h"
#include "platform/clock.h"
#include "platform/user.h"

namespace skiffwire::testing {
namespace {

constexpr uint64_t kStart = 1000000;  // the tick count when the test begins

std::vector<std::string> PeerArguments(uint16_t port, std::vector<std::string> more) {
  std::vector<std::string> arguments = {"--bind", "127.0.0.2", "--port", std::to_string(port)};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

// What the peer received, in order, up to `count` datagrams.
std::vector<std::string> Received(PeerProcess& peer, size_t count) {
  std::vector<std::string> out;
  while (out.size() < count) {
    auto datagram = peer.nextDatagram();
    if (!datagram) break;
    out.push_back(datagram->bytes);
  }
  return out;
}

bool LogHas(const TestApp& app, std::u16string_view line) {
  for (const std::u16string& l : app.log()) {
    if (l == line) return true;
  }
  return false;
}

// The lines of one attempt of ABCDEFGHIJ in packets of 4 with all three
// options, starting at `ms` milliseconds: each datagram pauses 1 ms (the wait
// state) and the markers and checksum 10 ms more.
std::vector<std::u16string> AttemptLines(int attempt, int ms) {
  auto at = [&](int offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d - ", (ms + offset) / 1000, (ms + offset) % 1000);
    return Utf16(text);
  };
  return {u"---- Timeout timer disabled ----",
          u"---- Transmission attempt " + Utf16(std::to_string(attempt)) + u" ----",
          at(0) + u"STX Sent",
          at(11) + u"Sending packet  1 of  3",
          at(12) + u"Sending packet  2 of  3",
          at(13) + u"Sending packet  3 of  3",
          at(14) + u"CRC Sent",
          at(25) + u"EOT Sent",
          u"---- Timeout timer enabled ----"};
}

const std::vector<std::string> kAttemptDatagrams = {"02", "ABCD", "EFGH", "IJ", "CRC5E10", "04"};

template <typename... Parts>
std::vector<std::u16string> Concat(Parts... parts) {
  std::vector<std::u16string> out;
  (out.insert(out.end(), parts.begin(), parts.end()), ...);
  return out;
}

class EndToEnd : public ::testing::Test {
 protected:
  // Everything runs on a fresh thread: the controls' windows, the message
  // queue and the error context belong to it.
  template <typename Body>
  void run(std::vector<std::string> peerOptions, Body body) {
    OnFreshThread([&] {
      platform::ScopedVirtualClock clock(kStart);
      const uint16_t port = FreeUdpPort();
      PeerProcess peer(PeerArguments(port, peerOptions));
      ASSERT_TRUE(peer.listening());
      TestApp app;
      app.connect(u"127.0.0.2", port);
      ASSERT_EQ(app.ui.cmdConnect->caption(), u"Disconnect");
      app.ui.txtPacketLen->type(u"4");
      app.ui.txtDatagram->type(u"ABCDEFGHIJ");
      body(app, peer, clock, port);
      EXPECT_EQ(app.boxTexts(),
                std::vector<std::u16string>{
                    u"Setting file error: Settings file not found, using defaults..."});
      app.ui.unload();
      EXPECT_EQ(peer.stop(), 0);
    });
  }
};

TEST_F(EndToEnd, DatagramsOnTheWireAreExactAndAVerifiedTransmissionEndsWithAck) {
  run({"--reply", "verify"}, [](TestApp& app, PeerProcess& peer, auto&, uint16_t) {
    app.ui.cmdSendDataGram->click();
    EXPECT_EQ(Received(peer, 6), kAttemptDatagrams);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(app, u"---- End Transmission ----"); }));
    EXPECT_EQ(app.log(), Concat(std::vector<std::u16string>{u"---- Start transmission ----"},
                                AttemptLines(1, 0),
                                std::vector<std::u16string>{u"0.036 - ACK Received",
                                                            u"---- Timeout timer disabled ----",
                                                            u"---- End Transmission ----"}));
    EXPECT_FALSE(app.ui.tmrTimeout->running());
    EXPECT_EQ(app.ui.txtProcess->selStart(), static_cast<LONG>(app.ui.txtProcess->text().size()));
  });
}

TEST_F(EndToEnd, ThreeNaksEndWithTheRetryLimitAtAttemptFour) {
  run({"--reply", "nak"}, [](TestApp& app, PeerProcess& peer, auto&, uint16_t) {
    app.ui.cmdSendDataGram->click();
    ASSERT_TRUE(PumpUntil([&] { return LogHas(app, u"---- Maximum retry limit reached ----"); }));
    const std::vector<std::u16string> tail = {u"---- Timeout timer disabled ----",
                                              u"---- Transmission attempt 4 ----",
                                              u"---- Maximum retry limit reached ----"};
    EXPECT_EQ(
        app.log(),
        Concat(std::vector<std::u16string>{u"---- Start transmission ----"}, AttemptLines(1, 0),
               std::vector<std::u16string>{u"0.036 - NAK Received"}, AttemptLines(2, 36),
               std::vector<std::u16string>{u"0.072 - NAK Received"}, AttemptLines(3, 72),
               std::vector<std::u16string>{u"0.108 - NAK Received"}, tail));
    std::vector<std::string> expected;
    for (int attempt = 0; attempt < 3; ++attempt) {
      expected.insert(expected.end(), kAttemptDatagrams.begin(), kAttemptDatagrams.end());
    }
    EXPECT_EQ(Received(peer, expected.size()), expected);
    EXPECT_FALSE(app.ui.tmrTimeout->running());
  });
}

TEST_F(EndToEnd, NakFirstThenAck) {
  run({"--reply", "ack", "--nak-first", "1"}, [](TestApp& app, PeerProcess&, auto&, uint16_t) {
    app.ui.cmdSendDataGram->click();
    ASSERT_TRUE(PumpUntil([&] { return LogHas(app, u"---- End Transmission ----"); }));
    std::vector<std::u16string> log = app.log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], u"0.072 - ACK Received");
    EXPECT_TRUE(LogHas(app, u"0.036 - NAK Received"));
    EXPECT_TRUE(LogHas(app, u"---- Transmission attempt 2 ----"));
  });
}

TEST_F(EndToEnd, NoReplyTimesOutAndALateReplyWaitsForTheNextStart) {
  run({"--reply", "none"},
      [](TestApp& app, PeerProcess& peer, platform::ScopedVirtualClock& clock, uint16_t port) {
        app.ui.cmdSendDataGram->click();
        EXPECT_EQ(Received(peer, 6), kAttemptDatagrams);
        clock.advance(4999);
        PumpPending();
        EXPECT_FALSE(LogHas(app, u"---- Tx/Rx timeout error ----"));
        clock.advance(1);
        ASSERT_TRUE(PumpUntil([&] { return LogHas(app, u"---- Tx/Rx timeout error ----"); }));
        std::vector<std::u16string> log = app.log();
        EXPECT_EQ(log[log.size() - 2], u"---- Timeout timer enabled ----");
        EXPECT_EQ(log.back(), u"---- Tx/Rx timeout error ----");
        EXPECT_EQ(app.ui.tmrTimeout->ticks(), 1);

        // While timed out nothing is sent and a reply is not read.
        app.ui.cmdString->click();
        app.ui.cmdClear->click();
        TestSocket late("127.0.0.3", 0, false);
        ASSERT_TRUE(late.sendTo("127.0.0.1", port, "ACK"));
        ASSERT_TRUE(PumpUntil([&] { return app.ui.server().eventsRaised() == 1; }));
        EXPECT_EQ(app.ui.server().pendingDatagrams(), 1u);
        EXPECT_EQ(app.log(), log);

        // The next start reads it with the first data arrival that follows.
        app.ui.cmdSendDataGram->click();
        std::vector<std::string> second = Received(peer, 6);
        EXPECT_EQ(second, kAttemptDatagrams);  // the two buttons sent nothing before
        ASSERT_TRUE(late.sendTo("127.0.0.1", port, "later"));
        ASSERT_TRUE(PumpUntil([&] { return app.ui.server().eventsRaised() == 2; }));
        EXPECT_EQ(app.log(), Concat(std::vector<std::u16string>{u"---- Start transmission ----"},
                                    AttemptLines(1, 0),
                                    std::vector<std::u16string>{u"0.036 - ACK Received",
                                                                u"---- Timeout timer disabled ----",
                                                                u"---- End Transmission ----"}));
        // One event per datagram: "later" waits for the next one.
        EXPECT_EQ(app.ui.server().pendingDatagrams(), 1u);
      });
}

TEST_F(EndToEnd, RepliesCompareWithoutCaseButAsAWholeText) {
  run({"--reply", "none"},
      [](TestApp& app, PeerProcess&, platform::ScopedVirtualClock& clock, uint16_t port) {
        TestSocket replier("127.0.0.3", 0, false);
        app.ui.cmdSendDataGram->click();
        ASSERT_TRUE(replier.sendTo("127.0.0.1", port, "ACK\r\n"));
        ASSERT_TRUE(PumpUntil([&] { return app.ui.server().eventsRaised() == 1; }));
        EXPECT_NE(app.ui.txtProcess->text().find(u"0.036 - ACK\r\n Received\r\n"),
                  std::u16string::npos);
        EXPECT_FALSE(LogHas(app, u"---- End Transmission ----"));
        // Waiting without a timer: time passes and nothing happens.
        EXPECT_FALSE(app.ui.tmrTimeout->running());
        clock.advance(60000);
        PumpPending();
        EXPECT_FALSE(LogHas(app, u"---- Tx/Rx timeout error ----"));

        ASSERT_TRUE(replier.sendTo("127.0.0.1", port, "ack"));
        ASSERT_TRUE(PumpUntil([&] { return LogHas(app, u"---- End Transmission ----"); }));
        EXPECT_TRUE(LogHas(app, u"60.036 - ack Received"));
      });
}

TEST_F(EndToEnd, JunkRepliesAreLoggedOneLineEachAndAFloodNestsOnlyToTheBound) {
  run({"--reply", "none"}, [](TestApp& app, PeerProcess&, auto&, uint16_t port) {
    app.ui.cmdSendDataGram->click();
    constexpr int kFlood = 100000;
    std::atomic<bool> sent{false};
    std::thread flood([&] {
      TestSocket sender("127.0.0.3", 0, false);
      for (int i = 0; i < kFlood; ++i) {
        sender.sendTo("127.0.0.1", port, std::string(1 + i % 40, static_cast<char>('a' + i % 26)));
      }
      sender.sendTo("127.0.0.1", port, "end of flood");
      sent = true;
    });
    // The kernel drops what its buffer cannot hold, so the closing datagram
    // is sent again until it gets through.
    TestSocket closer("127.0.0.4", 0, false);
    const DWORD self = GetCurrentThreadId();
    const bool finished = PumpUntil(
        [&] {
          if (!sent) return false;
          if (LogHas(app, u"0.036 - end of flood Received")) return true;
          closer.sendTo("127.0.0.1", port, "end of flood");
          PostThreadMessageW(self, WM_NULL, 0, 0);
          return false;
        },
        120s);
    flood.join();
    ASSERT_TRUE(finished);
    EXPECT_LE(app.ui.server().deepestEventNesting(), UdpSocket::kMaxEventNesting);
    size_t received = 0;
    for (const std::u16string& line : app.log())
      received += line.ends_with(u" Received");
    EXPECT_EQ(received, app.ui.server().eventsRaised());
    EXPECT_GT(app.ui.yields(), 0);  // every junk reply pumped messages
  });
}

TEST_F(EndToEnd, DisconnectClosesBothSocketsAndUnloadToo) {
  run({"--reply", "ack"}, [](TestApp& app, PeerProcess&, auto&, uint16_t) {
    SHORT state = 0;
    app.ui.sckServer->get_State(&state);
    EXPECT_EQ(state, kStateOpen);
    app.ui.cmdConnect->click();
    EXPECT_EQ(app.ui.cmdConnect->caption(), u"Connect");
    EXPECT_EQ(app.ui.shpConnected->fillColor(), 0x0000FFu);
    app.ui.sckServer->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
    app.ui.sckClient->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
    EXPECT_FALSE(app.ui.cmdSendDataGram->enabled());

    app.ui.cmdConnect->click();
    app.ui.cmdString->click();  // the client socket opens to send
    app.ui.sckClient->get_State(&state);
    EXPECT_EQ(state, kStateOpen);
    EXPECT_TRUE(app.ui.unload());
    app.ui.sckServer->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
    app.ui.sckClient->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
  });
}

}  // namespace
}  // namespace skiffwire::testing

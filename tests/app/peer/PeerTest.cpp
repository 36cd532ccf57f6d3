// skiffwire-peer as a process: its replies by policy, its checks, its
// command line and its clean end.
#include <gtest/gtest.h>

#include "support/AppTestSupport.h"

namespace skiffwire::testing {
namespace {

struct PeerBench {
  uint16_t port = FreeUdpPort();
  TestSocket tool{"127.0.0.1", port, true};  // where replies come back
  PeerProcess peer;

  explicit PeerBench(std::vector<std::string> options)
      : peer([&] {
          std::vector<std::string> arguments = {"--bind", "127.0.0.2", "--port",
                                                std::to_string(port)};
          arguments.insert(arguments.end(), options.begin(), options.end());
          return arguments;
        }()) {}

  void send(std::initializer_list<std::string_view> datagrams) {
    for (std::string_view d : datagrams)
      tool.sendTo("127.0.0.2", port, d);
  }
};

TEST(Peer, VerifyComparesChecksumAndLengthWithThePackets) {
  PeerBench bench({"--reply", "verify"});
  ASSERT_TRUE(bench.peer.listening());
  bench.send({"02", "ABCD", "EFGH", "IJ", "CRC5E10", "04"});
  EXPECT_EQ(bench.tool.receive(), "ACK");
  EXPECT_TRUE(bench.peer.waitFor("checksum ok"));
  bench.send({"02", "ABCD", "EFGH", "IJ", "CRC5E11", "04"});  // wrong length
  EXPECT_EQ(bench.tool.receive(), "NAK");
  bench.send({"02", "ABCD", "04"});  // nothing to verify against
  EXPECT_EQ(bench.tool.receive(), "NAK");
  EXPECT_EQ(bench.peer.stop(), 0);
}

TEST(Peer, NakFirstAndFixedReplies) {
  PeerBench bench({"--reply", "ack", "--nak-first", "2"});
  ASSERT_TRUE(bench.peer.listening());
  for (const char* expected : {"NAK", "NAK", "ACK"}) {
    bench.send({"x", "04"});
    EXPECT_EQ(bench.tool.receive(), expected);
  }
}

TEST(Peer, QuietEndsATransmissionWithoutItsEndMarker) {
  PeerBench bench({"--reply", "verify", "--quiet", "1000"});
  ASSERT_TRUE(bench.peer.listening());
  bench.send({"02", "ABCD", "EFGH", "IJ", "CRC5E10"});  // no "04"
  EXPECT_EQ(bench.tool.receive(), "ACK");
  EXPECT_TRUE(bench.peer.waitFor("end of the transmission"));
  bench.send({"ABCD", "04"});  // the end marker still ends one at once
  EXPECT_EQ(bench.tool.receive(), "NAK");
  EXPECT_EQ(bench.peer.stop(), 0);
}

TEST(Peer, PrintsEveryDatagramWithItsSourceAndExactBytes) {
  PeerBench bench({"--reply", "none"});
  ASSERT_TRUE(bench.peer.listening());
  const std::string odd("a\"b\\c\x01\xFF", 7);
  bench.send({odd, ""});
  auto first = bench.peer.nextDatagram();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->source, "127.0.0.1:" + std::to_string(bench.port));
  EXPECT_EQ(first->bytes, odd);
  auto second = bench.peer.nextDatagram();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->bytes, "");
}

TEST(Peer, CommandLine) {
  PeerProcess help({"--help"});
  EXPECT_FALSE(help.listening());
  EXPECT_EQ(help.stop(), 0);
  for (std::vector<std::string> bad :
       std::vector<std::vector<std::string>>{{"--reply", "maybe"},
                                             {"--port", "70000"},
                                             {"--bind", "nowhere"},
                                             {"--delay"},
                                             {"--frobnicate", "1"}}) {
    PeerProcess peer(bad);
    EXPECT_FALSE(peer.listening()) << bad[0];
    EXPECT_NE(peer.stop(), 0) << bad[0];
  }
}

}  // namespace
}  // namespace skiffwire::testing

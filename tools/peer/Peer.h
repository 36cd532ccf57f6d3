// The peer's socket loop: receives datagrams, prints each with a timestamp
// and its source, follows the transmission and sends the reply its policy
// asks for, until a stop signal arrives.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "PeerOptions.h"
#include "Transmission.h"

namespace skiffwire::peer {

class Peer {
 public:
  Peer(const PeerOptions& options, std::FILE* out);
  ~Peer();
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // Binds the socket; false with a message printed to stderr when it cannot.
  bool open();
  // Runs until stopFd becomes readable (the signal handler writes to it).
  // Returns the process exit code.
  int run(int stopFd);

 private:
  using SteadyTime = std::chrono::steady_clock::time_point;
  struct PendingReply {
    std::string text;
    sockaddr_in to{};
    SteadyTime due;
  };

  void receiveAll();
  void onDatagram(std::string_view datagram, const sockaddr_in& from);
  void endTransmission(const sockaddr_in& from);
  std::string_view replyFor();
  void sendDue();
  // Ends a transmission whose sender has been quiet for --quiet milliseconds.
  void endQuietTransmission();
  int pollTimeoutMs() const;
  void print(const std::string& line);

  PeerOptions options_;
  std::FILE* out_;
  int fd_ = -1;
  Transmission transmission_;
  uint32_t transmissions_ = 0;
  uint64_t datagrams_ = 0;
  std::optional<PendingReply> pending_;
  // When the transmission under way ends for want of datagrams, and who sent it.
  std::optional<SteadyTime> quietDue_;
  sockaddr_in lastSender_{};
};

// "hh:mm:ss.mmm" of the wall clock.
std::string TimestampNow();
// The datagram in double quotes with every byte outside printable ASCII, the
// quote and the backslash written as \xHH.
std::string QuoteBytes(std::string_view bytes);
std::string EndpointText(const sockaddr_in& address);

}  // namespace skiffwire::peer

// The command line of skiffwire-peer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace skiffwire::peer {

enum class ReplyMode { Ack, Nak, None, Verify };

struct PeerOptions {
  std::string bindAddress = "127.0.0.1";
  uint16_t port = 8888;
  ReplyMode reply = ReplyMode::Verify;
  // Transmissions answered "NAK" whatever the mode, counted from the first.
  uint32_t nakFirst = 0;
  uint32_t delayMs = 0;
  // A transmission without its end marker ends after this many milliseconds
  // without a datagram; 0: only the end marker ends one.
  uint32_t quietMs = 0;
  bool help = false;
};

// The options of argv; nothing, with the reason in `error`, when they are bad.
std::optional<PeerOptions> ParsePeerOptions(int argc, const char* const* argv, std::string& error);

const char* PeerUsage();

}  // namespace skiffwire::peer

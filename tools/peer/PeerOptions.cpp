#include "PeerOptions.h"

#include <charconv>
#include <string_view>

namespace skiffwire::peer {

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<ReplyMode> ParseReplyMode(std::string_view text) {
  if (text == "ack") return ReplyMode::Ack;
  if (text == "nak") return ReplyMode::Nak;
  if (text == "none") return ReplyMode::None;
  if (text == "verify") return ReplyMode::Verify;
  return std::nullopt;
}

}  // namespace

const char* PeerUsage() {
  return "Usage: skiffwire-peer [options]\n"
         "The reference peer of Skiffwire: prints every datagram it receives and answers\n"
         "each transmission (\"02\", packets, \"CRC\" datagram, \"04\") with \"ACK\" or \"NAK\"\n"
         "sent to the sender's address at the port this peer is bound to.\n"
         "\n"
         "  --bind ADDRESS     IPv4 address to bind (default 127.0.0.1)\n"
         "  --port N           UDP port to bind, 0 for any (default 8888)\n"
         "  --reply MODE       ack, nak, none or verify (default verify: \"ACK\" when\n"
         "                     the checksum and length match the packets, else \"NAK\")\n"
         "  --nak-first N      answer the first N transmissions \"NAK\" whatever the mode\n"
         "  --delay MS         wait MS milliseconds before each reply\n"
         "  --quiet MS         also end a transmission after MS milliseconds without a\n"
         "                     datagram (for a sender that sends no end marker)\n"
         "  --help             show this text\n"
         "\n"
         "A transmission ends with the end marker \"04\" (or, with --quiet, a pause).\n"
         "Its first line of output names the address and port it is bound to. SIGINT\n"
         "and SIGTERM end the peer cleanly.\n";
}

std::optional<PeerOptions> ParsePeerOptions(int argc, const char* const* argv, std::string& error) {
  PeerOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view name = argv[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = "missing value for " + std::string(name);
      return std::nullopt;
    }
    std::string_view value = argv[++i];
    bool ok = true;
    if (name == "--bind") {
      options.bindAddress = value;
    } else if (name == "--port") {
      ok = ParseNumber(value, options.port);
    } else if (name == "--reply") {
      auto mode = ParseReplyMode(value);
      ok = mode.has_value();
      if (ok) options.reply = *mode;
    } else if (name == "--nak-first") {
      ok = ParseNumber(value, options.nakFirst);
    } else if (name == "--delay") {
      ok = ParseNumber(value, options.delayMs);
    } else if (name == "--quiet") {
      ok = ParseNumber(value, options.quietMs);
    } else {
      error = "unknown option " + std::string(name);
      return std::nullopt;
    }
    if (!ok) {
      error = "bad value for " + std::string(name) + ": " + std::string(value);
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace skiffwire::peer

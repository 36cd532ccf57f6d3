#include "Peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/protocol/Crc8.h"

namespace skiffwire::peer {

namespace {
constexpr size_t kReceiveBufferBytes = 65536;
}

std::string TimestampNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                local.tm_sec, now.tv_nsec / 1000000);
  return text;
}

std::string QuoteBytes(std::string_view bytes) {
  std::string quoted = "\"";
  quoted.reserve(bytes.size() + 2);
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      quoted += c;
      continue;
    }
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", byte);
    quoted += escape;
  }
  return quoted + "\"";
}

std::string EndpointText(const sockaddr_in& address) {
  char host[INET_ADDRSTRLEN] = "?";
  inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
  return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

Peer::Peer(const PeerOptions& options, std::FILE* out) : options_(options), out_(out) {}

Peer::~Peer() {
  if (fd_ >= 0) close(fd_);
}

bool Peer::open() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options_.port);
  if (inet_pton(AF_INET, options_.bindAddress.c_str(), &address.sin_addr) != 1) {
    std::fprintf(stderr, "skiffwire-peer: not an IPv4 address: %s\n", options_.bindAddress.c_str());
    return false;
  }
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    std::fprintf(stderr, "skiffwire-peer: socket: %s\n", std::strerror(errno));
    return false;
  }
  // Shares the port number with a tool bound to the wildcard address on the
  // same host (which must set the option too).
  int on = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    std::fprintf(stderr, "skiffwire-peer: bind %s:%u: %s\n", options_.bindAddress.c_str(),
                 options_.port, std::strerror(errno));
    return false;
  }
  socklen_t length = sizeof address;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  options_.port = ntohs(address.sin_port);
  print("listening on " + EndpointText(address));
  return true;
}

int Peer::run(int stopFd) {
  pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    int ready = poll(fds, 2, pollTimeoutMs());
    if (ready < 0 && errno != EINTR) {
      std::fprintf(stderr, "skiffwire-peer: poll: %s\n", std::strerror(errno));
      return 1;
    }
    if (fds[1].revents) break;
    if (fds[0].revents) receiveAll();
    endQuietTransmission();
    sendDue();
  }
  print("stopped after " + std::to_string(datagrams_) + " datagrams, " +
        std::to_string(transmissions_) + " transmissions");
  return 0;
}

void Peer::receiveAll() {
  std::vector<char> buffer(kReceiveBufferBytes);
  for (;;) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t received = recvfrom(fd_, buffer.data(), buffer.size(), 0,
                                reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received < 0) return;  // drained (EAGAIN) or a transient error
    onDatagram(std::string_view(buffer.data(), static_cast<size_t>(received)), from);
  }
}

void Peer::onDatagram(std::string_view datagram, const sockaddr_in& from) {
  ++datagrams_;
  print("from " + EndpointText(from) + " " + std::to_string(datagram.size()) +
        " bytes: " + QuoteBytes(datagram));
  quietDue_.reset();
  if (transmission_.add(datagram)) {
    endTransmission(from);
    return;
  }
  if (options_.quietMs == 0 || !transmission_.active()) return;
  lastSender_ = from;
  quietDue_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.quietMs);
}

void Peer::endQuietTransmission() {
  if (!quietDue_ || std::chrono::steady_clock::now() < *quietDue_) return;
  quietDue_.reset();
  print("no datagram for " + std::to_string(options_.quietMs) + " ms: end of the transmission");
  endTransmission(lastSender_);
}

void Peer::endTransmission(const sockaddr_in& from) {
  ++transmissions_;
  std::string summary = "transmission " + std::to_string(transmissions_) + ": " +
                        std::to_string(transmission_.packetCount()) + " packets, " +
                        std::to_string(transmission_.payload().size()) + " bytes, CRC " +
                        protocol::HexByte(protocol::Crc8(transmission_.payload()));
  if (const auto& checksum = transmission_.checksum()) {
    summary += transmission_.verified()
                   ? ", checksum ok"
                   : ", checksum mismatch (got CRC " + protocol::HexByte(checksum->crc) +
                         " length " + std::to_string(checksum->length) + ")";
  } else {
    summary += ", no checksum";
  }
  print(summary);
  std::string_view reply = replyFor();
  transmission_.reset();
  if (reply.empty()) return;
  PendingReply pending{
      std::string(reply), from,
      std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.delayMs)};
  pending.to.sin_port = htons(options_.port);  // the tool listens at the same port number
  pending_ = std::move(pending);
  sendDue();
}

std::string_view Peer::replyFor() {
  if (transmissions_ <= options_.nakFirst) return protocol::kNak;
  switch (options_.reply) {
    case ReplyMode::Ack:
      return protocol::kAck;
    case ReplyMode::Nak:
      return protocol::kNak;
    case ReplyMode::None:
      return {};
    case ReplyMode::Verify:
      return transmission_.verified() ? protocol::kAck : protocol::kNak;
  }
  return {};
}

void Peer::sendDue() {
  if (!pending_ || std::chrono::steady_clock::now() < pending_->due) return;
  const PendingReply reply = std::move(*pending_);
  pending_.reset();
  ssize_t sent = sendto(fd_, reply.text.data(), reply.text.size(), 0,
                        reinterpret_cast<const sockaddr*>(&reply.to), sizeof reply.to);
  if (sent < 0) {
    print("reply " + QuoteBytes(reply.text) + " to " + EndpointText(reply.to) +
          " failed: " + std::strerror(errno));
    return;
  }
  print("reply " + QuoteBytes(reply.text) + " to " + EndpointText(reply.to));
}

int Peer::pollTimeoutMs() const {
  std::optional<SteadyTime> next;
  if (pending_) next = pending_->due;
  if (quietDue_ && (!next || *quietDue_ < *next)) next = quietDue_;
  if (!next) return -1;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      *next - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count()) + 1;
}

void Peer::print(const std::string& line) {
  std::fprintf(out_, "%s %s\n", TimestampNow().c_str(), line.c_str());
  std::fflush(out_);
}

}  // namespace skiffwire::peer

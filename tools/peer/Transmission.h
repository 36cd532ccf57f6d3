// What the peer knows of the transmission under way: the packets received
// since the start marker and the checksum datagram, if one came.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/protocol/Datagrams.h"

namespace skiffwire::peer {

class Transmission {
 public:
  // Takes one datagram; returns true when it ended the transmission (the end
  // marker). A start marker begins a new transmission, dropping what an
  // unfinished one had collected.
  bool add(std::string_view datagram);

  // True when a checksum datagram came and matches the packets' CRC-8 and
  // length; false without one.
  bool verified() const;

  // True once a datagram of a transmission came since the last reset.
  bool active() const { return active_; }
  uint32_t packetCount() const { return packetCount_; }
  const std::string& payload() const { return payload_; }
  const std::optional<protocol::ChecksumFields>& checksum() const { return checksum_; }

  // Forgets everything (after a reply).
  void reset();

 private:
  std::string payload_;
  uint32_t packetCount_ = 0;
  std::optional<protocol::ChecksumFields> checksum_;
  bool active_ = false;
};

}  // namespace skiffwire::peer

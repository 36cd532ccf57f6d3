// The texts of a transmission on the wire and their recognition: the start
// marker "02", the packets, the checksum datagram "CRC" + two hexadecimal
// digits + the payload length in decimal, the end marker "04", and the
// replies "ACK" and "NAK".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skiffwire::protocol {

inline constexpr std::string_view kStartMarker = "02";
inline constexpr std::string_view kEndMarker = "04";
inline constexpr std::string_view kChecksumPrefix = "CRC";
inline constexpr std::string_view kAck = "ACK";
inline constexpr std::string_view kNak = "NAK";
// The largest payload of one UDP datagram over IPv4.
inline constexpr size_t kMaxDatagramBytes = 65507;

enum class DatagramKind { StartMarker, Packet, Checksum, EndMarker };

// What a datagram of a transmission is. A packet that happens to read "02",
// "04" or "CRC..." is taken for the marker; the protocol has no escape.
DatagramKind Classify(std::string_view datagram);

struct ChecksumFields {
  uint8_t crc = 0;
  uint64_t length = 0;
};

// "CRC" + two upper-case hexadecimal digits + the length in decimal.
std::string ChecksumDatagram(uint8_t crc, uint64_t length);
// The fields of a checksum datagram; nothing when it is malformed.
std::optional<ChecksumFields> ParseChecksumDatagram(std::string_view datagram);

// Two upper-case hexadecimal digits, zero-padded.
std::string HexByte(uint8_t value);

}  // namespace skiffwire::protocol

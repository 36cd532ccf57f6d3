#include "app/protocol/Datagrams.h"

#include <charconv>

namespace skiffwire::protocol {

DatagramKind Classify(std::string_view datagram) {
  if (datagram == kStartMarker) return DatagramKind::StartMarker;
  if (datagram == kEndMarker) return DatagramKind::EndMarker;
  if (ParseChecksumDatagram(datagram)) return DatagramKind::Checksum;
  return DatagramKind::Packet;
}

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string ChecksumDatagram(uint8_t crc, uint64_t length) {
  return std::string(kChecksumPrefix) + HexByte(crc) + std::to_string(length);
}

namespace {
std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}
}  // namespace

std::optional<ChecksumFields> ParseChecksumDatagram(std::string_view datagram) {
  if (!datagram.starts_with(kChecksumPrefix)) return std::nullopt;
  datagram.remove_prefix(kChecksumPrefix.size());
  if (datagram.size() < 3) return std::nullopt;  // two digits and at least one of the length
  auto high = HexDigit(datagram[0]);
  auto low = HexDigit(datagram[1]);
  if (!high || !low) return std::nullopt;
  ChecksumFields fields;
  fields.crc = static_cast<uint8_t>(*high << 4 | *low);
  std::string_view length = datagram.substr(2);
  auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), fields.length);
  if (error != std::errc() || end != length.data() + length.size()) return std::nullopt;
  return fields;
}

}  // namespace skiffwire::protocol

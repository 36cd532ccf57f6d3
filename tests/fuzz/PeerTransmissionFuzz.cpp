// The reference peer's reading of a transmission over arbitrary datagrams:
// what it collects must be what the protocol's rules make of them (markers,
// packets, checksum datagrams), its verdict must follow from an independent
// CRC-8, and the way it prints a datagram must name every byte unambiguously.
// Libraries: skiffwire_peer
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "tools/peer/Peer.h"
#include "tools/peer/Transmission.h"

namespace {

using skiffwire::protocol::ChecksumFields;

// CRC-8 with polynomial 0x07, bit by bit.
uint8_t SlowCrc8(std::string_view bytes) {
  uint8_t crc = 0;
  for (char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return crc;
}

int UpperHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "CRC", two upper-case hexadecimal digits, then only decimal digits whose
// value fits 64 bits.
std::optional<ChecksumFields> ModelChecksum(std::string_view datagram) {
  if (datagram.size() < 6 || datagram.substr(0, 3) != "CRC") return std::nullopt;
  const int high = UpperHex(datagram[3]);
  const int low = UpperHex(datagram[4]);
  if (high < 0 || low < 0) return std::nullopt;
  ChecksumFields fields;
  fields.crc = static_cast<uint8_t>(high * 16 + low);
  for (char c : datagram.substr(5)) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (fields.length > (UINT64_MAX - digit) / 10) return std::nullopt;
    fields.length = fields.length * 10 + digit;
  }
  return fields;
}

// Reads back what QuoteBytes wrote.
std::optional<std::string> Unquote(std::string_view quoted) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return std::nullopt;
  quoted = quoted.substr(1, quoted.size() - 2);
  std::string bytes;
  for (size_t i = 0; i < quoted.size(); ++i) {
    const char c = quoted[i];
    if (c == '"') return std::nullopt;
    if (c != '\\') {
      bytes += c;
      continue;
    }
    if (i + 3 >= quoted.size() || quoted[i + 1] != 'x') return std::nullopt;
    const int high = UpperHex(quoted[i + 2]);
    const int low = UpperHex(quoted[i + 3]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return bytes;
}

struct Model {
  std::string payload;
  uint32_t packets = 0;
  std::optional<ChecksumFields> checksum;
  bool active = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  skiffwire::peer::Transmission transmission;
  Model model;
  while (input.remaining_bytes() > 0) {
    const std::string datagram = input.ConsumeRandomLengthString(1024);

    const std::string quoted = skiffwire::peer::QuoteBytes(datagram);
    for (char c : quoted)
      FUZZ_CHECK(c >= 0x20 && c < 0x7F, "the printed datagram is printable ASCII");
    FUZZ_CHECK(Unquote(quoted) == datagram, "the printed datagram names every byte");

    const std::optional<ChecksumFields> fields = ModelChecksum(datagram);
    const auto parsed = skiffwire::protocol::ParseChecksumDatagram(datagram);
    FUZZ_CHECK(parsed.has_value() == fields.has_value(), "what is a checksum datagram");
    if (parsed) {
      FUZZ_CHECK(parsed->crc == fields->crc && parsed->length == fields->length,
                 "the checksum datagram's fields");
    }

    const bool ended = transmission.add(datagram);
    FUZZ_CHECK(ended == (datagram == "04"), "only the end marker ends a transmission");
    if (datagram == "02") {
      model = Model{};
      model.active = true;
    } else if (fields) {
      model.checksum = fields;
      model.active = true;
    } else if (datagram != "04") {
      model.payload += datagram;
      ++model.packets;
      model.active = true;
    }
    FUZZ_CHECK(transmission.payload() == model.payload, "the collected payload");
    FUZZ_CHECK(transmission.packetCount() == model.packets, "the packet count");
    FUZZ_CHECK(transmission.active() == model.active, "whether a transmission is under way");
    const bool verified = model.checksum && model.checksum->crc == SlowCrc8(model.payload) &&
                          model.checksum->length == model.payload.size();
    FUZZ_CHECK(transmission.verified() == verified, "the verdict on the checksum");
    if (ended) {
      transmission.reset();
      model = Model{};
    }
  }

  // The sender's checksum datagram always reads back as itself.
  const std::string sent = skiffwire::protocol::ChecksumDatagram(
      static_cast<uint8_t>(size), static_cast<uint64_t>(size) * 0x9E3779B97F4A7C15ull);
  const auto back = skiffwire::protocol::ParseChecksumDatagram(sent);
  FUZZ_CHECK(back && back->crc == static_cast<uint8_t>(size) &&
                 back->length == static_cast<uint64_t>(size) * 0x9E3779B97F4A7C15ull,
             "a checksum datagram reads back");
  return 0;
}

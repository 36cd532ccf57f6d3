// The 8-bit checksum of a transmission: polynomial 0x07, initial value 0, no
// reflection, no final XOR (the published CRC-8/SMBUS: 0xF4 over "123456789").
//
// Shared by the application (which feeds it one ANSI code per character) and
// the reference peer (which feeds it the bytes it received), so both always
// agree on what a payload's checksum is.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace skiffwire::protocol {

inline constexpr uint8_t kCrc8Polynomial = 0x07;

namespace detail {
constexpr std::array<uint8_t, 256> MakeCrc8Table() {
  std::array<uint8_t, 256> table{};
  for (int value = 0; value < 256; ++value) {
    auto crc = static_cast<uint8_t>(value);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x80) ? static_cast<uint8_t>((crc << 1) ^ kCrc8Polynomial)
                         : static_cast<uint8_t>(crc << 1);
    }
    table[value] = crc;
  }
  return table;
}
inline constexpr std::array<uint8_t, 256> kCrc8Table = MakeCrc8Table();
}  // namespace detail

// Folds one byte into a running checksum (the XOR, then eight shifts).
constexpr uint8_t Crc8Step(uint8_t crc, uint8_t byte) {
  return detail::kCrc8Table[static_cast<uint8_t>(crc ^ byte)];
}

uint8_t Crc8(std::span<const uint8_t> bytes);
uint8_t Crc8(std::string_view bytes);

}  // namespace skiffwire::protocol

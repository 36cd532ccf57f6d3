#include "app/protocol/Crc8.h"

namespace skiffwire::protocol {

uint8_t Crc8(std::span<const uint8_t> bytes) {
  uint8_t crc = 0;
  for (uint8_t byte : bytes)
    crc = Crc8Step(crc, byte);
  return crc;
}

uint8_t Crc8(std::string_view bytes) {
  uint8_t crc = 0;
  for (char c : bytes)
    crc = Crc8Step(crc, static_cast<uint8_t>(c));
  return crc;
}

}  // namespace skiffwire::protocol

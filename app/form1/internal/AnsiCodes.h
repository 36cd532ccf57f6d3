// The ANSI code of every UTF-16 unit, taken once from the platform's own
// conversion (so it always agrees with what the socket control sends and
// with Asc), and the CRC-8 of a text over those codes in one pass.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace skiffwire::internal {

class AnsiCodes {
 public:
  static const AnsiCodes& Get();

  // The first byte of the unit in the ANSI code page; a unit the code page
  // lacks is "?".
  uint8_t operator[](char16_t unit) const { return codes_[unit]; }

 private:
  AnsiCodes();

  std::array<uint8_t, 0x10000> codes_{};
};

// CRC-8 of the ANSI codes of a text's characters, in order: one table step
// per character, no conversion call.
uint8_t Crc8OfText(std::u16string_view text);

}  // namespace skiffwire::internal

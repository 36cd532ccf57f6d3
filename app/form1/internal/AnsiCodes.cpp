#include "app/form1/internal/AnsiCodes.h"

#include <string>

#include "app/protocol/Crc8.h"
#include "platform/kernel.h"

namespace skiffwire::internal {
namespace {

constexpr int kUnits = 0x10000;

}  // namespace

const AnsiCodes& AnsiCodes::Get() {
  static const AnsiCodes codes;
  return codes;
}

AnsiCodes::AnsiCodes() {
  std::u16string units(kUnits, u'\0');
  for (int unit = 0; unit < kUnits; ++unit)
    units[static_cast<size_t>(unit)] = static_cast<char16_t>(unit);
  // A single-byte code page converts the whole range in one call, a byte
  // per unit; otherwise each unit is converted alone and keeps its first byte.
  std::string bytes(kUnits, '\0');
  const int converted =
      WideCharToMultiByte(CP_ACP, 0, units.data(), kUnits, bytes.data(), kUnits, nullptr, nullptr);
  if (converted == kUnits) {
    for (int unit = 0; unit < kUnits; ++unit)
      codes_[static_cast<size_t>(unit)] = static_cast<uint8_t>(bytes[static_cast<size_t>(unit)]);
    return;
  }
  for (int unit = 0; unit < kUnits; ++unit) {
    char pair[2] = {'?', 0};
    WideCharToMultiByte(CP_ACP, 0, &units[static_cast<size_t>(unit)], 1, pair, 2, nullptr, nullptr);
    codes_[static_cast<size_t>(unit)] = static_cast<uint8_t>(pair[0]);
  }
}

uint8_t Crc8OfText(std::u16string_view text) {
  const AnsiCodes& codes = AnsiCodes::Get();
  uint8_t crc = 0;
  for (char16_t unit : text)
    crc = protocol::Crc8Step(crc, codes[unit]);
  return crc;
}

}  // namespace skiffwire::internal

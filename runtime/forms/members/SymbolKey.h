// The 32-bit key under which a member name is filed in a class's symbol
// table: the name's length in the low 13 bits and a case-blind hash above.
//
// Two names that differ only in the case of ASCII letters get the same key,
// so a lookup ignores that case; equal keys still need a name comparison.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace rt {

class SymbolKey {
 public:
  static constexpr uint32_t kLengthBits = 13;
  static constexpr uint32_t kLengthMask = (1u << kLengthBits) - 1;
  // Printed on the diagnostic console when a name does not fit the length
  // field; the key then carries the low 13 bits of the length.
  static constexpr std::string_view kTooLargeWarning = "WARNING: Symbol too large, truncated.";
  static constexpr uint32_t kWarningColour = 0xFF0000;

  explicit SymbolKey(std::u16string_view name);
  static constexpr SymbolKey FromValue(uint32_t value) { return SymbolKey(value, Raw{}); }

  // The 16-bit hash of the name (ASCII letters folded to lower case).
  static uint16_t Hash(std::u16string_view name);

  uint32_t value() const { return value_; }
  uint32_t length() const { return value_ & kLengthMask; }
  uint32_t hashBits() const { return value_ >> kLengthBits; }

  friend bool operator==(SymbolKey a, SymbolKey b) = default;

 private:
  struct Raw {};
  constexpr SymbolKey(uint32_t value, Raw) : value_(value) {}

  uint32_t value_;
};

// Where the runtime's diagnostic console writes (text, RGB colour). Without a
// console nothing is written. Returns the previous console.
using DiagnosticConsole = std::function<void(std::string_view text, uint32_t colour)>;
DiagnosticConsole SetDiagnosticConsole(DiagnosticConsole console);

// ASCII letters A-Z folded to lower case; every other character unchanged.
constexpr char16_t FoldAsciiCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace rt

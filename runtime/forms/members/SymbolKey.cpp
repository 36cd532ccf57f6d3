#include "runtime/forms/members/SymbolKey.h"

#include <algorithm>
#include <utility>

namespace rt {
namespace {

// One console per thread: the engine runs on the user-interface thread and
// tests replace the console without disturbing each other.
thread_local DiagnosticConsole tDiagnosticConsole;

void WriteDiagnostic(std::string_view text, uint32_t colour) {
  if (tDiagnosticConsole) tDiagnosticConsole(text, colour);
}

uint32_t LengthField(std::u16string_view name) {
  if (name.size() > SymbolKey::kLengthMask) {
    WriteDiagnostic(SymbolKey::kTooLargeWarning, SymbolKey::kWarningColour);
  }
  return static_cast<uint32_t>(name.size()) & SymbolKey::kLengthMask;
}

}  // namespace

DiagnosticConsole SetDiagnosticConsole(DiagnosticConsole console) {
  return std::exchange(tDiagnosticConsole, std::move(console));
}

uint16_t SymbolKey::Hash(std::u16string_view name) {
  uint32_t h = 0;
  uint32_t position = 0;
  for (char16_t c : name) {
    h = ((h >> 11) ^ (static_cast<uint32_t>(FoldAsciiCase(c)) + position) ^ (h << 5)) & 0xFFFF;
    ++position;
  }
  return static_cast<uint16_t>(h);
}

SymbolKey::SymbolKey(std::u16string_view name) {
  const uint32_t length = LengthField(name);
  const uint32_t h = Hash(name);
  const uint32_t upper = ((length ^ ((h << 3) & 0xFFFF)) << kLengthBits) ^ (h & 0xE000);
  value_ = (upper & ~kLengthMask) | length;
}

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return std::ranges::equal(
      a, b, [](char16_t x, char16_t y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

}  // namespace rt

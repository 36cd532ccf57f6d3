// Latin letters beyond ASCII seen as an ASCII base letter plus a diacritic,
// which is how the collator orders them.
#pragma once

#include <cstdint>

namespace platform::internal {

struct LatinLetter {
  char16_t code;
  char base;  // 'a' to 'z'
  bool upper;
  uint16_t diacritic;  // see DiacriticWeight
};

// Diacritic weights of letters whose mark has no combining form of its own.
inline constexpr uint16_t kStroke = 0x4001;
inline constexpr uint16_t kDotless = 0x4002;
inline constexpr uint16_t kMiddleDot = 0x4003;
inline constexpr uint16_t kHook = 0x4004;
inline constexpr uint16_t kLongForm = 0x4005;

// The letter U+00C0..U+024F with that code, or null when it is not one of the
// letters built on an ASCII letter (ligatures such as U+00DF are not listed).
const LatinLetter* FindLatinLetter(char16_t code);

// The diacritic weight after adding one combining mark (U+0300..U+036F) to a
// weight: a precomposed letter and its decomposed spelling weigh the same.
uint16_t DiacriticWeight(uint16_t weight, char16_t mark);

}  // namespace platform::internal

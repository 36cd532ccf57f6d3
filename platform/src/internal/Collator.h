// The linguistic order behind CompareStringW and VarBstrCmp.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform::internal {

// Orders texts level by level, as a word sort does: first by their letters,
// digits and symbols alone; then by diacritics; then by case, width and kana
// type; last by hyphens and apostrophes, which weigh nothing before that.
// Lower case sorts before upper case, symbols before digits before letters.
class Collator {
 public:
  // flags: NORM_* and the other comparison flags CompareStringW accepts.
  explicit Collator(DWORD flags);

  // Negative, zero or positive as left sorts before, with or after right.
  int Compare(std::u16string_view left, std::u16string_view right) const;

 private:
  struct Element {
    uint32_t primary;
    uint16_t diacritic;
    uint8_t variant;  // case, width and kana bits
  };
  // A hyphen or apostrophe, weighed after everything else.
  struct Special {
    size_t position;
    char16_t code;
    auto operator<=>(const Special&) const = default;
  };
  struct Weights {
    std::vector<Element> elements;
    std::vector<Special> specials;
  };

  Weights weigh(std::u16string_view text) const;
  void append(char16_t c, Weights& out) const;

  bool ignoreDiacritics_;
  bool ignoreSymbols_;
  bool wordSort_;
  uint8_t variantMask_;
};

}  // namespace platform::internal

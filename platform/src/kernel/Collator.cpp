#include "internal/Collator.h"

#include <algorithm>

#include "internal/LatinLetters.h"
#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace platform::internal {
namespace {

// Variant bits: what remains of a character once its letter and diacritic
// are weighed. Clear bits sort first, so lower case precedes upper case.
constexpr uint8_t kUpper = 1;
constexpr uint8_t kWide = 2;
constexpr uint8_t kKatakana = 4;

// Script groups in sort order; the group sits above the weight within it.
enum class Group : uint32_t { Space, Symbol, Digit, Latin, Greek, Cyrillic, Kana, Other };

constexpr uint32_t primaryWeight(Group group, uint32_t value) {
  return (static_cast<uint32_t>(group) << 24) | value;
}

constexpr uint32_t latinWeight(char lowerLetter) {
  return primaryWeight(Group::Latin, static_cast<uint32_t>(lowerLetter - 'a' + 1) << 8);
}

// Thorn sorts after z.
constexpr uint32_t kThornWeight = primaryWeight(Group::Latin, 27u << 8);

// Half-width katakana U+FF66..U+FF9F in their full-width forms.
constexpr std::u16string_view kHalfwidthKatakana =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
    u"ヤユヨラリルレロワン゛゜";

struct Folded {
  char16_t code;
  uint8_t variant;
};

// Undoes width and kana type: full-width ASCII becomes ASCII, half-width
// katakana full-width, and katakana hiragana, each remembering what it was.
Folded foldWidthAndKana(char16_t c) {
  uint8_t variant = 0;
  if (c >= 0xFF01 && c <= 0xFF5E) {
    c = static_cast<char16_t>(c - 0xFEE0);
    variant |= kWide;
  } else if (c == 0x3000) {
    c = u' ';
    variant |= kWide;
  } else if (c >= 0xFF66 && c <= 0xFF9F) {
    c = kHalfwidthKatakana[c - 0xFF66];
    variant |= kWide;
  }
  if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) {
    c = static_cast<char16_t>(c - 0x60);
    variant |= kKatakana;
  }
  return {c, variant};
}

bool isCombiningMark(char16_t c) {
  return c >= 0x0300 && c <= 0x036F;
}

// Hyphens and apostrophes: a word sort weighs them last.
bool isWordSortSpecial(char16_t c) {
  return c == u'-' || c == u'\'';
}

bool isSpace(char16_t c) {
  return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 ||
         c == 0x2029 || c == 0x202F || c == 0x205F;
}

bool isAsciiAlphanumeric(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isSymbol(char16_t c) {
  if (c < 0x80) return !isAsciiAlphanumeric(c);
  return (c >= 0xA1 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2010 && c <= 0x2BFF) ||
         (c >= 0x3001 && c <= 0x303F) || (c >= 0xFE30 && c <= 0xFE6F) ||
         (c >= 0xFF5F && c <= 0xFF65) || (c >= 0xFFE0 && c <= 0xFFEE);
}

// Two-letter spellings of the Latin ligatures; null for other characters.
const char* ligatureLetters(char16_t c) {
  switch (c) {
    case 0x00DF:
      return "ss";
    case 0x00C6:
    case 0x00E6:
      return "ae";
    case 0x0152:
    case 0x0153:
      return "oe";
    case 0x0132:
    case 0x0133:
      return "ij";
    default:
      return nullptr;
  }
}

bool isUpperLigature(char16_t c) {
  return c == 0x00C6 || c == 0x0152 || c == 0x0132;
}

// Greek and Cyrillic capitals map onto their small letters.
char16_t lowerGreekOrCyrillic(char16_t c, bool* upper) {
  *upper = true;
  if (c >= 0x0391 && c <= 0x03A9) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);
  *upper = false;
  return c;
}

template <typename Element, typename Projection>
int compareBy(const std::vector<Element>& a, const std::vector<Element>& b, Projection key) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = key(a[i]);
    const auto y = key(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

Collator::Collator(DWORD flags)
    : ignoreDiacritics_((flags & (NORM_IGNORENONSPACE | LINGUISTIC_IGNOREDIACRITIC)) != 0),
      ignoreSymbols_((flags & NORM_IGNORESYMBOLS) != 0),
      wordSort_((flags & SORT_STRINGSORT) == 0),
      variantMask_(0xFF) {
  if (flags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE)) variantMask_ &= ~kUpper;
  if (flags & NORM_IGNOREWIDTH) variantMask_ &= ~kWide;
  if (flags & NORM_IGNOREKANATYPE) variantMask_ &= ~kKatakana;
}

int Collator::Compare(std::u16string_view left, std::u16string_view right) const {
  const Weights a = weigh(left);
  const Weights b = weigh(right);
  if (int c = compareBy(a.elements, b.elements, [](const Element& e) { return e.primary; })) {
    return c;
  }
  if (!ignoreDiacritics_) {
    if (int c = compareBy(a.elements, b.elements, [](const Element& e) { return e.diacritic; })) {
      return c;
    }
  }
  const uint8_t mask = variantMask_;
  if (int c = compareBy(a.elements, b.elements, [mask](const Element& e) {
        return static_cast<uint8_t>(e.variant & mask);
      })) {
    return c;
  }
  return compareBy(a.specials, b.specials, [](const Special& s) { return s; });
}

Collator::Weights Collator::weigh(std::u16string_view text) const {
  Weights weights;
  weights.elements.reserve(text.size());
  for (char16_t c : text)
    append(c, weights);
  return weights;
}

void Collator::append(char16_t raw, Weights& out) const {
  const auto [c, variant] = foldWidthAndKana(raw);
  auto push = [&out](uint32_t primary, uint16_t diacritic, uint8_t bits) {
    out.elements.push_back({primary, diacritic, bits});
  };
  if (isCombiningMark(c) && !out.elements.empty()) {
    Element& base = out.elements.back();
    base.diacritic = DiacriticWeight(base.diacritic, c);
    return;
  }
  if (wordSort_ && isWordSortSpecial(c)) {
    if (!ignoreSymbols_) out.specials.push_back({out.elements.size(), c});
    return;
  }
  if (isSpace(c) || isSymbol(c) || isCombiningMark(c)) {
    if (!ignoreSymbols_)
      push(primaryWeight(isSpace(c) ? Group::Space : Group::Symbol, c), 0, variant);
    return;
  }
  if (c >= u'0' && c <= u'9') return push(primaryWeight(Group::Digit, c - u'0'), 0, variant);
  if (c >= u'a' && c <= u'z') return push(latinWeight(static_cast<char>(c)), 0, variant);
  if (c >= u'A' && c <= u'Z') {
    return push(latinWeight(static_cast<char>(c - u'A' + u'a')), 0, variant | kUpper);
  }
  if (const char* letters = ligatureLetters(c)) {
    const uint8_t bits = variant | (isUpperLigature(c) ? kUpper : 0);
    for (const char* l = letters; *l; ++l)
      push(latinWeight(*l), 0, bits);
    return;
  }
  if (const LatinLetter* letter = FindLatinLetter(c)) {
    return push(latinWeight(letter->base), letter->diacritic,
                variant | (letter->upper ? kUpper : 0));
  }
  if (c == 0x00DE || c == 0x00FE)
    return push(kThornWeight, 0, variant | (c == 0x00DE ? kUpper : 0));
  bool upper = false;
  const char16_t lower = lowerGreekOrCyrillic(c, &upper);
  const uint8_t bits = variant | (upper ? kUpper : 0);
  if (lower >= 0x0370 && lower <= 0x03FF) return push(primaryWeight(Group::Greek, lower), 0, bits);
  if (lower >= 0x0400 && lower <= 0x04FF)
    return push(primaryWeight(Group::Cyrillic, lower), 0, bits);
  if (c >= 0x3041 && c <= 0x309F) return push(primaryWeight(Group::Kana, c), 0, variant);
  push(primaryWeight(Group::Other, c), 0, variant);
}

}  // namespace platform::internal

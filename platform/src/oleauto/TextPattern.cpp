#include "internal/TextPattern.h"

namespace platform::internal {
namespace {

bool isLatinLetterRange(char16_t c) {
  return c >= 0xC0 && c <= 0xFE && c != 0xD7 && c != 0xF7;
}

char16_t toLower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (isLatinLetterRange(c) && c < 0xDF)) return c + 0x20;
  return c;
}

char16_t toUpper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (isLatinLetterRange(c) && c > 0xDF)) return c - 0x20;
  return c;
}

}  // namespace

TextPattern::TextPattern(std::u16string_view section) {
  for (size_t i = 0; i < section.size(); ++i) {
    const char16_t c = section[i];
    switch (c) {
      case u'@':
      case u'&':
        tokens_.push_back({true, c == u'@', {}, letterCase_});
        ++placeholders_;
        break;
      case u'<':
        letterCase_ = -1;
        break;
      case u'>':
        letterCase_ = 1;
        break;
      case u'!':
        fromLeft_ = true;
        break;
      case u'"': {
        size_t close = section.find(u'"', i + 1);
        if (close == std::u16string_view::npos) close = section.size();
        tokens_.push_back({false, false, std::u16string(section.substr(i + 1, close - i - 1))});
        i = close;
        break;
      }
      case u'\\':
        if (i + 1 < section.size()) tokens_.push_back({false, false, {section[++i]}});
        break;
      default:
        tokens_.push_back({false, false, {c}});
        break;
    }
  }
}

std::u16string TextPattern::Format(std::u16string_view text) const {
  auto inCase = [](std::u16string_view part, int letterCase) {
    std::u16string cased(part);
    for (char16_t& c : cased) {
      if (letterCase < 0) c = toLower(c);
      if (letterCase > 0) c = toUpper(c);
    }
    return cased;
  };
  std::u16string out = placeholders_ == 0 ? inCase(text, letterCase_) : u"";
  const int length = static_cast<int>(text.size());
  const int excess = length - placeholders_;
  int slot = 0;
  for (const Token& token : tokens_) {
    if (!token.placeholder) {
      out += token.text;
      continue;
    }
    // The character index this placeholder shows, -1 or beyond for none.
    const int index = fromLeft_ ? slot : slot + excess;
    if (!fromLeft_ && slot == 0 && excess > 0)
      out += inCase(text.substr(0, excess), token.letterCase);
    if (index >= 0 && index < length) {
      out += inCase(text.substr(index, 1), token.letterCase);
    } else if (token.required) {
      out.push_back(u' ');
    }
    ++slot;
    if (fromLeft_ && slot == placeholders_ && excess > 0) {
      out += inCase(text.substr(placeholders_), token.letterCase);
    }
  }
  return out;
}

}  // namespace platform::internal

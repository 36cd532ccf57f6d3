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
        tokens_.push_back({true, c == u'@', {}});
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
  std::u16string cased(text);
  for (char16_t& c : cased) {
    if (letterCase_ < 0) c = toLower(c);
    if (letterCase_ > 0) c = toUpper(c);
  }
  std::u16string out = placeholders_ == 0 ? cased : u"";
  const int length = static_cast<int>(cased.size());
  const int excess = length - placeholders_;
  int slot = 0;
  for (const Token& token : tokens_) {
    if (!token.placeholder) {
      out += token.text;
      continue;
    }
    // The character index this placeholder shows, -1 or beyond for none.
    const int index = fromLeft_ ? slot : slot + excess;
    if (!fromLeft_ && slot == 0 && excess > 0) out += cased.substr(0, excess);
    if (index >= 0 && index < length) {
      out.push_back(cased[index]);
    } else if (token.required) {
      out.push_back(u' ');
    }
    ++slot;
    if (fromLeft_ && slot == placeholders_ && excess > 0) out += cased.substr(placeholders_);
  }
  return out;
}

}  // namespace platform::internal

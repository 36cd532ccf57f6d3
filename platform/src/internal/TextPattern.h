// A text section of a format: @ (a character or a space), & (a character or
// nothing), < (lower case), > (upper case), ! (fill from the left), literals.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::internal {

class TextPattern {
 public:
  explicit TextPattern(std::u16string_view section);

  // Placeholders take the characters from the right unless ! is given; the
  // characters left over go before the first placeholder (after the last one
  // with !). Without placeholders the whole text comes first. < and > change
  // the case of the placeholders after them (and of the characters left
  // over with their placeholder); without placeholders, of the whole text.
  std::u16string Format(std::u16string_view text) const;

 private:
  struct Token {
    bool placeholder;
    bool required;        // @ shows a space when it has no character
    std::u16string text;  // literal text
    int letterCase = 0;   // a placeholder's case: -1 lower, 1 upper
  };

  std::vector<Token> tokens_;
  int placeholders_ = 0;
  bool fromLeft_ = false;
  int letterCase_ = 0;  // the case in force at the end: -1 lower, 1 upper
};

}  // namespace platform::internal

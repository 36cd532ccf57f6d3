// DrawTextW's layout of a text in a rectangle: mnemonic prefixes, tab
// expansion, line breaks, word wrapping and ellipses, measured with a font's
// cached advances. Drawing is left to the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "internal/Font.h"

namespace platform::internal {

class TextBlock {
 public:
  struct Line {
    std::u16string text;  // prefixes resolved, ellipsis applied; tabs kept
    int width = 0;
    int underline = -1;  // index of the mnemonic character in text, or -1
  };

  TextBlock(const Font& font, std::u16string_view text, UINT format, int width);

  const std::vector<Line>& lines() const { return lines_; }
  int lineHeight() const { return lineHeight_; }
  int widest() const;
  // The x of a character within a line, tabs expanded.
  int offsetOf(const Line& line, size_t index) const;
  // The width of text laid out from the line start, tabs expanded.
  int measure(std::u16string_view text) const;

 private:
  int advanceFrom(int x, char16_t c) const;
  void resolvePrefixes(std::u16string_view text);
  void breakLines(int width);
  void addLine(std::u16string_view text, int underline);
  void applyEllipsis(int width);

  const Font& font_;
  UINT format_;
  int tabWidth_;
  int lineHeight_;
  std::u16string text_;
  int underline_ = -1;  // in text_
  std::vector<Line> lines_;
};

}  // namespace platform::internal

#include "internal/TextBlock.h"

#include <algorithm>

namespace platform::internal {
namespace {

bool isBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

}  // namespace

TextBlock::TextBlock(const Font& font, std::u16string_view text, UINT format, int width)
    : font_(font), format_(format) {
  const FontMetrics& m = font.metrics();
  int tabChars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
  if (tabChars == 0) tabChars = 8;
  tabWidth_ = std::max(1, tabChars * m.aveCharWidth);
  lineHeight_ = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  resolvePrefixes(text);
  breakLines(width);
  applyEllipsis(width);
}

void TextBlock::resolvePrefixes(std::u16string_view text) {
  if (format_ & DT_NOPREFIX) {
    text_ = text;
    return;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      text_.push_back(text[i]);
      continue;
    }
    if (i + 1 >= text.size()) break;  // a trailing prefix shows nothing
    ++i;
    if (text[i] != u'&' && underline_ < 0) underline_ = static_cast<int>(text_.size());
    text_.push_back(text[i]);
  }
  if (format_ & DT_HIDEPREFIX) underline_ = -1;
}

int TextBlock::advanceFrom(int x, char16_t c) const {
  if (c == u'\t' && (format_ & DT_EXPANDTABS)) return (x / tabWidth_ + 1) * tabWidth_;
  return x + font_.advance(c);
}

int TextBlock::measure(std::u16string_view text) const {
  int x = 0;
  for (char16_t c : text)
    x = advanceFrom(x, c);
  return x;
}

int TextBlock::offsetOf(const Line& line, size_t index) const {
  return measure(std::u16string_view(line.text).substr(0, index));
}

void TextBlock::addLine(std::u16string_view text, int underline) {
  Line line;
  line.text = text;
  line.width = measure(text);
  line.underline = underline;
  lines_.push_back(std::move(line));
}

void TextBlock::breakLines(int width) {
  std::u16string_view all(text_);
  auto underlineIn = [&](size_t start, size_t length) {
    if (underline_ < 0) return -1;
    auto at = static_cast<size_t>(underline_);
    return at >= start && at < start + length ? static_cast<int>(at - start) : -1;
  };
  if (format_ & DT_SINGLELINE) {
    std::u16string flat;
    for (char16_t c : all)
      flat.push_back(isBreak(c) ? u' ' : c);
    addLine(flat, underline_);
    return;
  }
  bool wrap = (format_ & DT_WORDBREAK) && width > 0;
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = start;
    while (end < all.size() && !isBreak(all[end]))
      ++end;
    std::u16string_view paragraph = all.substr(start, end - start);
    size_t offset = 0;
    do {
      std::u16string_view rest = paragraph.substr(offset);
      size_t take = rest.size();
      if (wrap && measure(rest) > width) {
        // The longest run of whole words that fits; a word wider than the
        // rectangle stands alone on its line.
        size_t lastBreak = 0;
        int x = 0;
        for (size_t i = 0; i < rest.size(); ++i) {
          if (rest[i] == u' ' || rest[i] == u'\t') lastBreak = i;
          x = advanceFrom(x, rest[i]);
          if (x > width && rest[i] != u' ') break;
        }
        if (lastBreak == 0) {
          size_t word = rest.find_first_of(u" \t");
          take = word == std::u16string_view::npos ? rest.size() : word;
          if ((format_ & DT_EDITCONTROL) && take > 1) {
            take = 1;
            int used = advanceFrom(0, rest[0]);
            while (take < rest.size() && advanceFrom(used, rest[take]) <= width)
              used = advanceFrom(used, rest[take++]);
          }
        } else {
          take = lastBreak;
        }
      }
      std::u16string_view line = rest.substr(0, take);
      while (!line.empty() && wrap && line.back() == u' ')
        line.remove_suffix(1);
      addLine(line, underlineIn(start + offset, line.size()));
      offset += take;
      while (wrap && offset < paragraph.size() && paragraph[offset] == u' ')
        ++offset;
    } while (offset < paragraph.size());
    if (end >= all.size()) break;
    start = end + ((all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n') ? 2 : 1);
  }
}

void TextBlock::applyEllipsis(int width) {
  constexpr UINT kEllipses = DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS;
  if (!(format_ & kEllipses) || width <= 0) return;
  static constexpr std::u16string_view kDots = u"...";
  int dots = measure(kDots);
  for (Line& line : lines_) {
    if (line.width <= width) continue;
    std::u16string kept = line.text;
    while (!kept.empty() && measure(kept) + dots > width)
      kept.pop_back();
    line.text = kept + std::u16string(kDots);
    line.width = measure(line.text);
    if (line.underline >= static_cast<int>(kept.size())) line.underline = -1;
  }
}

int TextBlock::widest() const {
  int widest = 0;
  for (const Line& line : lines_)
    widest = std::max(widest, line.width);
  return widest;
}

}  // namespace platform::internal

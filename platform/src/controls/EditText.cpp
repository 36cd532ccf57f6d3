#include "internal/EditText.h"

#include <algorithm>
#include <iterator>

namespace platform::internal {
namespace {

bool isSpace(char16_t c) {
  return c == u' ' || c == u'\t';
}

bool isBreakCharacter(char16_t c) {
  return c == u'\r' || c == u'\n';
}

}  // namespace

void EditText::setLayout(bool multiLine, bool wordWrap, int wrapWidth) {
  wordWrap = multiLine && wordWrap;
  if (!wordWrap) wrapWidth = 0;
  bool resplit = multiLine != multiLine_;
  if (!resplit && wordWrap == wordWrap_ && wrapWidth == wrapWidth_) return;
  multiLine_ = multiLine;
  wordWrap_ = wordWrap;
  wrapWidth_ = wrapWidth;
  if (resplit) {
    split(0, 0);
    return;
  }
  for (Paragraph& p : paragraphs_)
    p.wrapped = false;
  counted_ = 0;
}

void EditText::setWidths(const CharWidths& widths) {
  widths_ = &widths;
  known_ = widths.knownWidths();
  widestKnown_ = false;
  for (Paragraph& p : paragraphs_) {
    p.wrapped = false;
    p.width = -1;
  }
  counted_ = 0;
}

void EditText::setText(std::u16string_view text) {
  size_t common = 0;
  size_t limit = std::min(text.size(), text_.size());
  while (common < limit && text[common] == text_[common])
    ++common;
  // Paragraphs whose text and break lie wholly in the common beginning stay.
  size_t kept = 0;
  while (kept < paragraphs_.size()) {
    const Paragraph& p = paragraphs_[kept];
    if (p.breakLength == 0 || p.start + p.length + p.breakLength > common) break;
    ++kept;
  }
  text_.assign(text);
  anchor_ = caret_ = 0;
  changedFrom_ = kept < paragraphs_.size() ? paragraphs_[kept].start : 0;
  changedTo_ = npos;
  split(kept, changedFrom_);
}

void EditText::replace(size_t start, size_t end, std::u16string_view with) {
  start = std::min(start, text_.size());
  end = std::clamp(end, start, text_.size());
  size_t first = paragraphOf(start);
  size_t last = paragraphOf(end);
  if (first == last && replaceInParagraph(first, start, end, with)) return;
  changedFrom_ = paragraphs_[first].start;
  changedTo_ = npos;
  const Paragraph& tail = paragraphs_[last];
  bool tailBreaks = tail.breakLength > 0;
  size_t regionStart = paragraphs_[first].start;
  size_t regionEnd = tail.start + tail.length + tail.breakLength;  // old coordinates
  auto delta = static_cast<ptrdiff_t>(with.size()) - static_cast<ptrdiff_t>(end - start);
  std::vector<Paragraph> after(
      std::make_move_iterator(paragraphs_.begin() + static_cast<ptrdiff_t>(last) + 1),
      std::make_move_iterator(paragraphs_.end()));
  paragraphs_.resize(last + 1);
  text_.replace(start, end - start, with);
  anchor_ = caret_ = start + with.size();
  dropParagraphs(first);
  size_t newRegionEnd =
      tailBreaks ? static_cast<size_t>(static_cast<ptrdiff_t>(regionEnd) + delta) : text_.size();
  // The paragraphs after the changed region keep their lines, moved.
  if (!splitRange(regionStart, newRegionEnd)) {
    widestKnown_ = false;  // the paragraphs after the region are made anew
    split(first, regionStart);
    return;
  }
  for (Paragraph& p : after) {
    p.start = static_cast<size_t>(static_cast<ptrdiff_t>(p.start) + delta);
    paragraphs_.push_back(std::move(p));
  }
}

// A change inside one paragraph that makes and removes no line break: the
// paragraph grows or shrinks in place, the paragraphs after it move, and
// only its lines from the one before the change on are wrapped anew (a
// line's start depends on nothing after the line that follows it).
bool EditText::replaceInParagraph(size_t index, size_t start, size_t end,
                                  std::u16string_view with) {
  Paragraph& p = paragraphs_[index];
  const size_t oldLength = p.length;
  if (end > p.start + oldLength) return false;  // the change reaches into the break
  if (multiLine_) {
    if (with.find_first_of(u"\r\n") != std::u16string_view::npos) return false;
    // A "\r" before the change meeting a "\n" after it would make a break.
    const bool joins =
        start > 0 && text_[start - 1] == u'\r' && end < text_.size() && text_[end] == u'\n';
    if (joins) return false;
  }
  const auto delta = static_cast<ptrdiff_t>(with.size()) - static_cast<ptrdiff_t>(end - start);
  const size_t offset = start - p.start;
  const bool appended = offset == oldLength && end == start;
  text_.replace(start, end - start, with);
  anchor_ = caret_ = start + with.size();
  p.length = static_cast<size_t>(static_cast<ptrdiff_t>(p.length) + delta);
  for (size_t i = index + 1; i < paragraphs_.size(); ++i)
    paragraphs_[i].start =
        static_cast<size_t>(static_cast<ptrdiff_t>(paragraphs_[i].start) + delta);

  // Its width: what is appended goes on from the old width.
  const int oldWidth = p.width;
  if (appended && oldWidth >= 0) {
    int x = oldWidth;
    for (char16_t c : with)
      x = advance(x, c);
    p.width = x;
  } else {
    p.width = widestKnown_ ? measure(p.start, p.start + p.length) : -1;
  }
  if (widestKnown_) {
    if (oldWidth >= widest_ && p.width < oldWidth) {
      widestKnown_ = false;
    } else {
      widest_ = std::max(widest_, p.width);
    }
  }

  // Its lines: those before the line ahead of the change stay, and so do
  // those from the first line after the change that starts where a line
  // started before (moved with the text).
  size_t keep = 0;
  changedTo_ = npos;
  if (p.wrapped) {
    const auto line = static_cast<size_t>(
        std::upper_bound(p.wraps.begin(), p.wraps.end(), static_cast<uint32_t>(offset)) -
        p.wraps.begin());
    keep = line > 0 ? line - 1 : 0;
    const size_t oldLines = p.wraps.size();
    // The start of the change's line, which ends the line re-wrapped first.
    const size_t oldBreak = line > 0 ? p.wraps[keep] : npos;
    std::vector<uint32_t> fresh;
    const KnownStarts known{keep, delta, offset + with.size()};
    const size_t from = keep > 0 ? p.wraps[keep - 1] : 0;
    const size_t met = wrapLines(p, from, fresh, &known);
    if (met == npos) {
      p.wraps.resize(keep);
      p.wraps.insert(p.wraps.end(), fresh.begin(), fresh.end());
    } else {
      const auto at = p.wraps.begin() + static_cast<ptrdiff_t>(keep);
      p.wraps.erase(at, p.wraps.begin() + static_cast<ptrdiff_t>(met) + 1);
      p.wraps.insert(p.wraps.begin() + static_cast<ptrdiff_t>(keep), fresh.begin(), fresh.end());
      for (size_t i = keep + fresh.size(); i < p.wraps.size(); ++i)
        p.wraps[i] = static_cast<uint32_t>(static_cast<ptrdiff_t>(p.wraps[i]) + delta);
    }
    // As many lines as before: the lines after the paragraph stay where
    // they were, and so do its lines after the one that met an old start.
    // A line that meets an old start past the change's end is as before.
    if (p.wraps.size() == oldLines) {
      const size_t changeEnd = offset + with.size();
      if (met == npos) {
        changedTo_ = p.start + p.length;
      } else {
        changedTo_ = p.start + (fresh.back() > changeEnd ? fresh.back() - 1 : fresh.back());
      }
    }
    // The line before the change's kept its end: it is as before too.
    if (!fresh.empty() && fresh.front() == oldBreak) keep = line;
  }
  changedFrom_ = p.start + (keep > 0 ? p.wraps[keep - 1] : 0);
  if (changedTo_ == npos) counted_ = std::min(counted_, index + 1);
  return true;
}

bool EditText::breakAt(size_t i) const {
  return text_[i] == u'\n' || (text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n');
}

bool EditText::splitRange(size_t at, size_t to) {
  for (;;) {
    Paragraph p;
    p.start = at;
    size_t i = at;
    if (multiLine_) {
      while (i < to && !breakAt(i))
        ++i;
    } else {
      i = to;
    }
    p.length = i - at;
    if (widestKnown_) {
      p.width = measure(p.start, p.start + p.length);
      widest_ = std::max(widest_, p.width);
    }
    if (i >= to) {
      if (to != text_.size()) return false;  // the region did not end with a break
      paragraphs_.push_back(std::move(p));
      return true;
    }
    p.breakLength = text_[i] == u'\r' ? 2 : 1;
    at = i + p.breakLength;
    paragraphs_.push_back(std::move(p));
    if (at >= to && to != text_.size()) return true;
  }
}

void EditText::split(size_t fromParagraph, size_t fromIndex) {
  dropParagraphs(fromParagraph);
  splitRange(fromIndex, text_.size());
}

void EditText::dropParagraphs(size_t from) {
  from = std::min(from, paragraphs_.size());
  for (size_t i = from; i < paragraphs_.size() && widestKnown_; ++i) {
    if (paragraphs_[i].width < 0 || paragraphs_[i].width >= widest_) widestKnown_ = false;
  }
  paragraphs_.resize(from);
  counted_ = std::min(counted_, from);
}

int EditText::advance(int x, char16_t ch) const {
  if (ch == u'\t') {
    int stop = std::max(1, widths_->tabStop());
    return (x / stop + 1) * stop;
  }
  if (known_ && ch < 256 && known_[ch] >= 0) return x + known_[ch];
  return x + widths_->width(ch);
}

int EditText::measure(size_t start, size_t end) const {
  int x = 0;
  for (size_t i = start; i < end; ++i)
    x = advance(x, text_[i]);
  return x;
}

void EditText::wrap(Paragraph& p) {
  if (p.wrapped) return;
  p.wrapped = true;
  p.wraps.clear();
  wrapLines(p, 0, p.wraps, nullptr);
}

size_t EditText::wrapLines(const Paragraph& p, size_t from, std::vector<uint32_t>& out,
                           const KnownStarts* known) const {
  if (!wordWrap_ || wrapWidth_ <= 0) return npos;
  size_t next = known ? known->first : 0;  // the first old start not yet passed
  size_t lineStart = from;
  size_t lastBreak = 0;  // the offset after the last space of the line, 0: none
  int x = 0;
  for (size_t i = from; i < p.length; ++i) {
    char16_t c = text_[p.start + i];
    int next_x = advance(x, c);
    if (next_x > wrapWidth_ && i > lineStart && !isSpace(c)) {
      // Spaces hang past the edge; a word too long for a line is cut.
      size_t newStart = lastBreak > lineStart ? lastBreak : i;
      out.push_back(static_cast<uint32_t>(newStart));
      // A line's start depends only on the text from the start of the line
      // before: past the change, one that meets an old start ends the work.
      if (known && newStart >= known->changeEnd) {
        const auto moved = [&](size_t k) {
          return static_cast<ptrdiff_t>(p.wraps[k]) + known->delta;
        };
        const auto wanted = static_cast<ptrdiff_t>(newStart);
        while (next < p.wraps.size() && moved(next) < wanted)
          ++next;
        if (next < p.wraps.size() && moved(next) == wanted) return next;
      }
      lineStart = newStart;
      lastBreak = 0;
      x = measure(p.start + lineStart, p.start + i);
      next_x = advance(x, c);
    }
    x = next_x;
    if (isSpace(c)) lastBreak = i + 1;
  }
  return npos;
}

size_t EditText::paragraphOf(size_t index) const {
  auto it = std::upper_bound(paragraphs_.begin(), paragraphs_.end(), index,
                             [](size_t value, const Paragraph& p) { return value < p.start; });
  return it == paragraphs_.begin() ? 0 : static_cast<size_t>(it - paragraphs_.begin()) - 1;
}

void EditText::countLinesUpTo(size_t paragraph) {
  firstLine_.resize(paragraphs_.size());
  while (counted_ <= paragraph && counted_ < paragraphs_.size()) {
    if (counted_ == 0) {
      firstLine_[0] = 0;
    } else {
      Paragraph& previous = paragraphs_[counted_ - 1];
      wrap(previous);
      firstLine_[counted_] = firstLine_[counted_ - 1] + previous.wraps.size() + 1;
    }
    ++counted_;
  }
}

size_t EditText::lineCount() {
  size_t last = paragraphs_.size() - 1;
  countLinesUpTo(last);
  wrap(paragraphs_[last]);
  return firstLine_[last] + paragraphs_[last].wraps.size() + 1;
}

size_t EditText::lineOf(size_t index) {
  index = std::min(index, text_.size());
  size_t p = paragraphOf(index);
  Paragraph& paragraph = paragraphs_[p];
  wrap(paragraph);
  countLinesUpTo(p);
  auto offset = static_cast<uint32_t>(std::min(index - paragraph.start, paragraph.length));
  auto k =
      static_cast<size_t>(std::upper_bound(paragraph.wraps.begin(), paragraph.wraps.end(), offset) -
                          paragraph.wraps.begin());
  return firstLine_[p] + k;
}

size_t EditText::lineStart(size_t line) {
  line = std::min(line, lineCount() - 1);
  auto it = std::upper_bound(firstLine_.begin(),
                             firstLine_.begin() + static_cast<ptrdiff_t>(counted_), line);
  size_t p = static_cast<size_t>(it - firstLine_.begin()) - 1;
  Paragraph& paragraph = paragraphs_[p];
  wrap(paragraph);
  size_t k = line - firstLine_[p];
  return paragraph.start + (k == 0 ? 0 : paragraph.wraps[k - 1]);
}

size_t EditText::lineLength(size_t line) {
  size_t start = lineStart(line);
  const Paragraph& paragraph = paragraphs_[paragraphOf(start)];
  size_t offset = start - paragraph.start;
  auto next = std::upper_bound(paragraph.wraps.begin(), paragraph.wraps.end(),
                               static_cast<uint32_t>(offset));
  size_t end = next == paragraph.wraps.end() ? paragraph.length : *next;
  return end - offset;
}

std::u16string_view EditText::lineText(size_t line) {
  size_t start = lineStart(line);
  return std::u16string_view(text_).substr(start, lineLength(line));
}

int EditText::xOf(size_t index) {
  index = std::min(index, text_.size());
  size_t start = lineStart(lineOf(index));
  return measure(start, std::max(start, index));
}

size_t EditText::indexAt(size_t line, int x) {
  size_t start = lineStart(line);
  size_t length = lineLength(line);
  int at = 0;
  for (size_t i = 0; i < length; ++i) {
    int next = advance(at, text_[start + i]);
    if (x < (at + next + 1) / 2) return start + i;
    at = next;
  }
  return start + length;
}

int EditText::widestLine() {
  if (!widestKnown_) {
    widest_ = 0;
    for (Paragraph& p : paragraphs_) {
      if (p.width < 0) p.width = measure(p.start, p.start + p.length);
      widest_ = std::max(widest_, p.width);
    }
    widestKnown_ = true;
  }
  return wordWrap_ ? std::min(widest_, wrapWidth_) : widest_;
}

size_t EditText::firstChangedLine() {
  return lineOf(std::min(changedFrom_, text_.size()));
}

size_t EditText::lastChangedLine() {
  return changedTo_ == npos ? npos : lineOf(std::min(changedTo_, text_.size()));
}

void EditText::select(size_t anchor, size_t caret) {
  auto fix = [&](size_t i) {
    i = std::min(i, text_.size());
    if (i > 0 && i < text_.size() && text_[i - 1] == u'\r' && text_[i] == u'\n') --i;
    return i;
  };
  anchor_ = fix(anchor);
  caret_ = fix(caret);
}

std::u16string EditText::selectedText() const {
  return text_.substr(selectionStart(), selectionEnd() - selectionStart());
}

size_t EditText::previousCharacter(size_t index) const {
  if (index == 0) return 0;
  if (index >= 2 && text_[index - 2] == u'\r' && text_[index - 1] == u'\n') return index - 2;
  return index - 1;
}

size_t EditText::nextCharacter(size_t index) const {
  if (index >= text_.size()) return text_.size();
  if (text_[index] == u'\r' && index + 1 < text_.size() && text_[index + 1] == u'\n') {
    return index + 2;
  }
  return index + 1;
}

size_t EditText::previousWord(size_t index) const {
  index = std::min(index, text_.size());
  if (index > 0 && isBreakCharacter(text_[index - 1])) return previousCharacter(index);
  while (index > 0 && isSpace(text_[index - 1]))
    --index;
  while (index > 0 && !isSpace(text_[index - 1]) && !isBreakCharacter(text_[index - 1]))
    --index;
  return index;
}

size_t EditText::nextWord(size_t index) const {
  if (index >= text_.size()) return text_.size();
  if (isBreakCharacter(text_[index])) return nextCharacter(index);
  while (index < text_.size() && !isSpace(text_[index]) && !isBreakCharacter(text_[index]))
    ++index;
  while (index < text_.size() && isSpace(text_[index]))
    ++index;
  return index;
}

std::pair<size_t, size_t> EditText::wordAt(size_t index) const {
  index = std::min(index, text_.size());
  if (text_.empty()) return {0, 0};
  if (index == text_.size() || isBreakCharacter(text_[index])) {
    if (index == 0) return {0, 0};
    --index;
  }
  bool space = isSpace(text_[index]);
  size_t start = index, end = index;
  auto same = [&](char16_t c) { return !isBreakCharacter(c) && isSpace(c) == space; };
  while (start > 0 && same(text_[start - 1]))
    --start;
  while (end < text_.size() && same(text_[end]))
    ++end;
  return {start, end};
}

}  // namespace platform::internal

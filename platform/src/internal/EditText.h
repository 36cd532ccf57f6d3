// The text of an edit control, without a window: the characters, the
// selection (an anchor and a caret), and the lines they are shown on.
//
// A multi-line text is a list of paragraphs separated by "\r\n" (a lone
// "\n" breaks a line too). With word wrap each paragraph is broken into
// lines that fit a width, measured with the font's character widths. The
// breaking is lazy and kept per paragraph: a paragraph is wrapped the first
// time one of its lines is asked for, and a change re-wraps only the
// paragraphs it touched (within one paragraph, the lines from the one
// before the change up to the first one after it that starts where a line
// started before). A change that leaves a paragraph's line count as it was
// keeps the line numbers of the paragraphs after it. Setting a text that begins with the current
// one (a log that grows at its end) keeps the lines of the paragraphs before the change. Once asked
// for, the widest line is kept up to date as paragraphs come and go, so replacing text at the end
// costs what changes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::internal {

// The widths of characters in pixels, and the distance between tab stops.
class CharWidths {
 public:
  virtual ~CharWidths() = default;
  virtual int width(char16_t ch) const = 0;
  virtual int tabStop() const = 0;
  // The widths of characters 0 to 255 as far as they are known (-1 where not
  // yet), at an address that stays for the object's life; null when there is
  // no such table. Laying out text looks there before it calls width().
  virtual const int16_t* knownWidths() const { return nullptr; }
};

class EditText {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  explicit EditText(const CharWidths& widths) : widths_(&widths), known_(widths.knownWidths()) {
    setText({});
  }

  // How lines are formed: one line (single-line), paragraphs, or paragraphs
  // wrapped at a width. A change of layout drops the lines made so far.
  void setLayout(bool multiLine, bool wordWrap, int wrapWidth);
  void setWidths(const CharWidths& widths);
  bool multiLine() const { return multiLine_; }
  bool wordWrap() const { return wordWrap_; }

  const std::u16string& text() const { return text_; }
  size_t length() const { return text_.size(); }
  // Replaces the whole text; the selection moves to the start.
  void setText(std::u16string_view text);
  // Replaces the characters start..end (clamped) and puts the caret after
  // the new ones.
  void replace(size_t start, size_t end, std::u16string_view with);

  size_t anchor() const { return anchor_; }
  size_t caret() const { return caret_; }
  size_t selectionStart() const { return std::min(anchor_, caret_); }
  size_t selectionEnd() const { return std::max(anchor_, caret_); }
  bool hasSelection() const { return anchor_ != caret_; }
  // Clamped to the text; an index inside a "\r\n" moves before it.
  void select(size_t anchor, size_t caret);
  std::u16string selectedText() const;

  // Lines as shown (wrapped lines count one each); there is always one.
  size_t lineCount();
  // The line of a character; at a wrap point the index belongs to the line
  // it starts.
  size_t lineOf(size_t index);
  size_t lineStart(size_t line);
  // Without the line break.
  size_t lineLength(size_t line);
  std::u16string_view lineText(size_t line);
  // The x of a character within its line (tabs expanded).
  int xOf(size_t index);
  // The character nearest to x on a line.
  size_t indexAt(size_t line, int x);
  // The width of the widest line (every paragraph is measured once).
  int widestLine();
  // The first line the last change of the text may have altered: the lines
  // before it are as they were.
  size_t firstChangedLine();
  // The last line it may have altered, npos when the lines after the change
  // moved (it made or removed lines): the lines after it are as they were.
  size_t lastChangedLine();

  // Caret movement by words and over line breaks.
  size_t previousWord(size_t index) const;
  size_t nextWord(size_t index) const;
  size_t previousCharacter(size_t index) const;
  size_t nextCharacter(size_t index) const;
  // The word (or the run of spaces) at an index.
  std::pair<size_t, size_t> wordAt(size_t index) const;

 private:
  struct Paragraph {
    size_t start = 0;
    size_t length = 0;        // without the break
    uint8_t breakLength = 0;  // 0 for the last paragraph, else 1 or 2
    bool wrapped = false;
    int width = -1;               // measured on demand
    std::vector<uint32_t> wraps;  // where the lines after the first start
  };

  void split(size_t fromParagraph, size_t fromIndex);
  // Drops paragraphs [from, end) of the list, forgetting the widest line
  // when one of them may have been it.
  void dropParagraphs(size_t from);
  // Makes paragraphs of text[at, to): to is the text's end or the end of a
  // line break; false when the range does not end with a break.
  bool splitRange(size_t at, size_t to);
  bool breakAt(size_t i) const;
  void wrap(Paragraph& paragraph);
  // After a change of a wrapped paragraph: its old line starts from index
  // `first` on, moved by `delta` when they lie after the change, which ends
  // at offset `changeEnd` (new offsets).
  struct KnownStarts {
    size_t first;
    ptrdiff_t delta;
    size_t changeEnd;
  };
  // Appends the starts of the paragraph's lines after the one that starts
  // at offset `from`. With `known`, stops at the first start at or after
  // the change's end that is an old start (the lines from there on are the
  // old ones) and answers that start's index among the old ones; else npos.
  size_t wrapLines(const Paragraph& paragraph, size_t from, std::vector<uint32_t>& out,
                   const KnownStarts* known) const;
  bool replaceInParagraph(size_t index, size_t start, size_t end, std::u16string_view with);
  size_t paragraphOf(size_t index) const;
  void countLinesUpTo(size_t paragraph);
  int advance(int x, char16_t ch) const;
  int measure(size_t start, size_t end) const;

  const CharWidths* widths_;
  const int16_t* known_;  // widths_->knownWidths()
  bool multiLine_ = false;
  bool wordWrap_ = false;
  int wrapWidth_ = 0;
  std::u16string text_;
  size_t anchor_ = 0;
  size_t caret_ = 0;
  std::vector<Paragraph> paragraphs_;
  // firstLine_[i]: the line number of paragraph i's first line, valid for
  // i < counted_.
  std::vector<size_t> firstLine_;
  size_t counted_ = 0;
  // Where the lines the last change may have altered begin, and a character
  // of the last of them (npos: the lines after the change moved).
  size_t changedFrom_ = 0;
  size_t changedTo_ = npos;
  // The widest paragraph's width, valid while widestKnown_; new paragraphs
  // are measured as they are made only while it is.
  int widest_ = 0;
  bool widestKnown_ = false;
};

}  // namespace platform::internal

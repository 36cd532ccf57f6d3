#include "internal/EditText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::internal::CharWidths;
using platform::internal::EditText;
using ::testing::ElementsAre;

// Every character 10 pixels wide, tab stops every 40.
class FixedWidths final : public CharWidths {
 public:
  int width(char16_t) const override { return 10; }
  int tabStop() const override { return 40; }
};

std::vector<std::u16string> linesOf(EditText& text) {
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < text.lineCount(); ++i)
    lines.emplace_back(text.lineText(i));
  return lines;
}

class EditTextTest : public ::testing::Test {
 protected:
  FixedWidths widths_;
  EditText text_{widths_};
};

TEST_F(EditTextTest, ParagraphsEndAtLineBreaks) {
  text_.setLayout(true, false, 0);
  text_.setText(u"one\r\ntwo\nthree\r\n");
  EXPECT_THAT(linesOf(text_), ElementsAre(u"one", u"two", u"three", u""));
  EXPECT_EQ(text_.lineStart(1), 5u);
  EXPECT_EQ(text_.lineOf(4), 0u);  // the break belongs to its line
  EXPECT_EQ(text_.lineOf(5), 1u);
}

TEST_F(EditTextTest, SingleLineKeepsBreaksAsCharacters) {
  text_.setLayout(false, true, 30);
  text_.setText(u"a\r\nb c d e");
  EXPECT_EQ(text_.lineCount(), 1u);
  EXPECT_EQ(text_.lineLength(0), text_.length());
}

TEST_F(EditTextTest, WordWrapBreaksAfterSpacesAndCutsLongWords) {
  text_.setLayout(true, true, 60);  // six characters a line
  text_.setText(u"aa bb cc dddddddddd e");
  EXPECT_THAT(linesOf(text_), ElementsAre(u"aa bb ", u"cc ", u"dddddd", u"dddd e"));
  // At a wrap point the index belongs to the line it starts.
  EXPECT_EQ(text_.lineOf(6), 1u);
  EXPECT_EQ(text_.xOf(7), 10);
  EXPECT_EQ(text_.indexAt(1, 14), 7u);
  EXPECT_EQ(text_.indexAt(1, 16), 8u);
}

TEST_F(EditTextTest, TabsAdvanceToTheNextStop) {
  text_.setLayout(true, false, 0);
  text_.setText(u"a\tb");
  EXPECT_EQ(text_.xOf(2), 40);
  EXPECT_EQ(text_.xOf(3), 50);
}

TEST_F(EditTextTest, ReplaceKeepsTheParagraphsAfterTheChange) {
  text_.setLayout(true, true, 60);
  text_.setText(u"first line here\r\nsecond\r\nthird words wrap");
  size_t before = text_.lineCount();
  text_.replace(0, 5, u"1st");
  EXPECT_EQ(text_.text(), u"1st line here\r\nsecond\r\nthird words wrap");
  EXPECT_EQ(text_.caret(), 3u);
  EXPECT_EQ(text_.lineCount(), before);
  EXPECT_EQ(text_.lineText(text_.lineOf(text_.length())), u"wrap");
  // Joining two paragraphs by deleting the break between them.
  size_t breakAt = text_.text().find(u"\r\n");
  text_.replace(breakAt, breakAt + 2, u" ");
  EXPECT_EQ(text_.lineText(text_.lineOf(0)), u"1st ");
}

TEST_F(EditTextTest, ReplaceThatAddsBreaksSplitsTheParagraph) {
  struct Case {
    std::u16string initial;
    size_t start, end;
    std::u16string with;
    std::vector<std::u16string> lines;
  };
  const std::vector<Case> cases = {
      {u"abc", 1, 1, u"\r\n", {u"a", u"bc"}},   {u"ab\r\ncd", 2, 4, u"", {u"abcd"}},
      {u"ab\r\ncd", 2, 3, u"", {u"ab", u"cd"}},  // "\r" gone, the "\n" still breaks
      {u"ab\ncd", 2, 2, u"\r", {u"ab", u"cd"}}, {u"", 0, 0, u"x\r\n", {u"x", u""}},
      {u"a\r\nb\r\nc", 0, 7, u"z", {u"z"}},
  };
  for (const Case& c : cases) {
    EditText text(widths_);
    text.setLayout(true, false, 0);
    text.setText(c.initial);
    text.replace(c.start, c.end, c.with);
    EXPECT_EQ(linesOf(text), c.lines) << std::string(c.initial.begin(), c.initial.end());
  }
}

TEST_F(EditTextTest, SettingATextThatExtendsTheOldOneKeepsItsLines) {
  text_.setLayout(true, true, 60);
  std::u16string log;
  for (int i = 0; i < 50; ++i) {
    log += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" of the log\r\n";
    text_.setText(log);
    EXPECT_EQ(text_.lineCount(), static_cast<size_t>(3 * (i + 1) + 1));
  }
  EXPECT_EQ(text_.lineOf(text_.length()), text_.lineCount() - 1);
}

TEST_F(EditTextTest, SelectionIsClampedAndNeverSplitsABreak) {
  text_.setLayout(true, false, 0);
  text_.setText(u"ab\r\ncd");
  text_.select(100, 3);
  EXPECT_EQ(text_.anchor(), 6u);
  EXPECT_EQ(text_.caret(), 2u);  // inside "\r\n": before it
  EXPECT_EQ(text_.selectionStart(), 2u);
  EXPECT_EQ(text_.selectedText(), u"\r\ncd");
}

TEST_F(EditTextTest, WordAndCharacterMovement) {
  text_.setLayout(true, false, 0);
  text_.setText(u"one two\r\nthree");
  EXPECT_EQ(text_.nextWord(0), 4u);
  EXPECT_EQ(text_.nextWord(4), 7u);
  EXPECT_EQ(text_.nextWord(7), 9u);  // over the break
  EXPECT_EQ(text_.previousWord(9), 7u);
  EXPECT_EQ(text_.previousWord(7), 4u);
  EXPECT_EQ(text_.previousCharacter(9), 7u);
  EXPECT_EQ(text_.nextCharacter(7), 9u);
  EXPECT_EQ(text_.wordAt(5), std::make_pair(size_t{4}, size_t{7}));
}

TEST_F(EditTextTest, WidestLineMeasuresEachParagraph) {
  text_.setLayout(true, false, 0);
  text_.setText(u"ab\r\nabcdef\r\nabc");
  EXPECT_EQ(text_.widestLine(), 60);
}

}  // namespace

namespace {

// The widest line, once known, follows every change: each step's answer is
// the one a text laid out afresh gives.
TEST_F(EditTextTest, TheWidestLineFollowsAppendsAndReplacements) {
  struct Step {
    size_t start, end;  // npos: the text's end
    std::u16string_view with;
  };
  const Step steps[] = {
      {EditText::npos, EditText::npos, u"a much longer line\r\n"},  // widens at the end
      {EditText::npos, EditText::npos, u"x\r\n"},                   // narrower: stays
      {0, 3, u"abcdefghijklmnopqrstuvwxyz"},  // the first paragraph becomes the widest
      {0, 26, u""},                           // and shrinks again
      {5, 40, u"joined"},                     // paragraphs merge over their breaks
      {0, EditText::npos, u"one\r\ntwo"},     // everything replaced
      {8, 8, u"\r\nthe new widest one\r\n"},  // appended at the end without a break
  };
  text_.setLayout(true, false, 0);
  text_.setText(u"abc\r\nshort\r\nlonger one\r\n");
  EXPECT_EQ(text_.widestLine(), 100);
  for (const Step& step : steps) {
    const size_t end = std::min(step.end, text_.length());
    const size_t start = std::min(step.start, end);
    text_.replace(start, end, step.with);
    EditText fresh(widths_);
    fresh.setLayout(true, false, 0);
    fresh.setText(text_.text());
    EXPECT_EQ(text_.widestLine(), fresh.widestLine())
        << std::string(step.with.begin(), step.with.end());
  }
}

// A change within a paragraph alters its own line on, and the line before
// only when that line's break moves (a word that now fits goes up).
TEST_F(EditTextTest, AChangeInsideAParagraphAltersItsLineOrTheOneBeforeOn) {
  text_.setLayout(true, true, 60);  // six characters a line
  text_.setText(u"one\r\naa bb cc dd ee ff\r\nx");
  EXPECT_THAT(linesOf(text_), ElementsAre(u"one", u"aa bb ", u"cc dd ", u"ee ff", u"x"));
  text_.replace(20, 20, u"f");  // inside the paragraph's third line
  EXPECT_EQ(text_.firstChangedLine(), 3u);
  EXPECT_EQ(text_.lastChangedLine(), 3u);
  text_.replace(5, 5, u"z");  // its first line
  EXPECT_EQ(text_.firstChangedLine(), 1u);
  text_.replace(0, 1, u"\r\n");  // a new break: the paragraph and those after it
  EXPECT_EQ(text_.firstChangedLine(), 0u);
  EXPECT_EQ(text_.lastChangedLine(), EditText::npos);

  text_.setText(u"aaaa bb cc");
  EXPECT_THAT(linesOf(text_), ElementsAre(u"aaaa ", u"bb cc"));
  text_.replace(5, 6, u"");  // "b" fits on the line before
  EXPECT_THAT(linesOf(text_), ElementsAre(u"aaaa b ", u"cc"));
  EXPECT_EQ(text_.firstChangedLine(), 0u);
}

// Random edits of a wrapped text, with and without line breaks: after each
// one the lines, the widest line and the line of every character are those
// of the same text laid out afresh.
TEST_F(EditTextTest, EditsKeepTheLinesOfAFreshLayout) {
  const std::u16string_view pieces[] = {u"a",  u"bb ", u"ccc dd",         u" ",  u"\r\n",
                                        u"\r", u"\n",  u"eeeeeeeeeeeeee", u"\t", u"f g h "};
  for (bool wrapped : {true, false}) {
    text_.setLayout(true, wrapped, 60);
    text_.setText(u"aa bb cc\r\ndddddddddddd ee\r\n\r\nff gg hh ii jj");
    text_.widestLine();
    uint32_t seed = 12345;
    auto next = [&](uint32_t bound) {
      seed = seed * 1103515245 + 12345;
      return (seed >> 8) % bound;
    };
    for (int step = 0; step < 400; ++step) {
      const auto length = static_cast<uint32_t>(text_.length());
      const size_t start = next(length + 1);
      const size_t end = std::min<size_t>(length, start + next(4));
      text_.replace(start, end, pieces[next(std::size(pieces))]);
      EditText fresh(widths_);
      fresh.setLayout(true, wrapped, 60);
      fresh.setText(text_.text());
      ASSERT_EQ(linesOf(text_), linesOf(fresh)) << "step " << step;
      ASSERT_EQ(text_.widestLine(), fresh.widestLine()) << "step " << step;
      for (size_t i = 0; i <= text_.length(); i += 7)
        ASSERT_EQ(text_.lineOf(i), fresh.lineOf(i)) << "step " << step << " index " << i;
    }
  }
}

// Edits inside long wrapped paragraphs: re-wrapping stops at the first line
// after the change that starts where one did before, and a change that
// keeps a paragraph's line count keeps the lines after it. After each edit
// the lines are those of a fresh layout, the lines outside
// firstChangedLine..lastChangedLine are the ones shown before, and
// lastChangedLine is npos only when the line count changed.
TEST_F(EditTextTest, EditsInLongParagraphsAlterOnlyTheLinesTheyReport) {
  const std::u16string_view pieces[] = {u"a", u"bb ",    u"ccc dd", u" ", u"eeeeeeeeeeeeee",
                                        u"",  u"f g h ", u"ij"};
  std::u16string start;
  for (int i = 0; i < 3; ++i) {
    for (int word = 0; word < 60; ++word)
      start +=
          std::u16string(1 + (word * 7 + i) % 9, static_cast<char16_t>(u'k' + word % 5)) + u" ";
    start += u"\r\n";
  }
  text_.setLayout(true, true, 80);
  text_.setText(start);
  uint32_t seed = 777;
  auto next = [&](uint32_t bound) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % bound;
  };
  int kept = 0;
  for (int step = 0; step < 300; ++step) {
    const std::vector<std::u16string> before = linesOf(text_);
    // A change that touches no line break.
    size_t at = next(static_cast<uint32_t>(text_.length()));
    while (at > 0 && (text_.text()[at - 1] == u'\r' || text_.text()[at] == u'\r' ||
                      text_.text()[at] == u'\n'))
      --at;
    size_t end = at;
    while (end < text_.length() && end < at + next(4) && text_.text()[end] != u'\r')
      ++end;
    text_.replace(at, end, pieces[next(std::size(pieces))]);
    EditText fresh(widths_);
    fresh.setLayout(true, true, 80);
    fresh.setText(text_.text());
    const std::vector<std::u16string> after = linesOf(text_);
    ASSERT_EQ(after, linesOf(fresh)) << "step " << step;
    const size_t first = text_.firstChangedLine();
    const size_t last = text_.lastChangedLine();
    ASSERT_EQ(last == EditText::npos, after.size() != before.size()) << "step " << step;
    for (size_t line = 0; line < first; ++line)
      ASSERT_EQ(after[line], before[line]) << "step " << step << " line " << line;
    if (last == EditText::npos) continue;
    ++kept;
    for (size_t line = last + 1; line < after.size(); ++line)
      ASSERT_EQ(after[line], before[line]) << "step " << step << " line " << line;
    for (size_t i = 0; i <= text_.length(); i += 11)
      ASSERT_EQ(text_.lineOf(i), fresh.lineOf(i)) << "step " << step << " index " << i;
  }
  EXPECT_GT(kept, 100);  // most edits keep the line count
}

}  // namespace

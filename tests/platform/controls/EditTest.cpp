#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;

std::u16string textOf(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

std::pair<DWORD, DWORD> selectionOf(HWND hwnd) {
  DWORD start = 0, end = 0;
  SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

class EditTest : public ControlTest {
 protected:
  HWND edit(DWORD style = ES_AUTOHSCROLL, RECT r = {10, 10, 210, 34}, const char16_t* text = u"") {
    return control(u"EDIT", text, style | WS_TABSTOP, r, 50, WS_EX_CLIENTEDGE);
  }

  void type(std::u16string_view text) {
    display_->typeText(text);
    pump();
  }

  void chord(int modifier, int key) {
    platform::InjectKey(modifier, true);
    platform::InjectKey(key, true);
    platform::InjectKey(key, false);
    platform::InjectKey(modifier, false);
    pump();
  }
};

TEST_F(EditTest, TypingRaisesEnChangePerCharacter) {
  HWND box = edit();
  SetFocus(box);
  parentLog().commands.clear();
  type(u"abc");
  EXPECT_EQ(textOf(box), u"abc");
  EXPECT_THAT(codesFrom(box),
              ElementsAre(EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE));
  pressKey(VK_BACK);
  EXPECT_EQ(textOf(box), u"ab");
  EXPECT_EQ(codesFrom(box).size(), 8u);
  pressKey(VK_HOME);  // moving the caret changes nothing
  EXPECT_EQ(codesFrom(box).size(), 8u);
}

TEST_F(EditTest, SetTextNotifiesOnlySingleLineControls) {
  HWND single = edit();
  HWND multi = edit(kMultiLine, {10, 50, 210, 150});
  parentLog().commands.clear();
  SetWindowTextW(single, u"one");
  SetWindowTextW(multi, u"two");
  EXPECT_THAT(codesFrom(single), ElementsAre(EN_UPDATE, EN_CHANGE));
  EXPECT_THAT(codesFrom(multi), IsEmpty());
  EXPECT_EQ(selectionOf(multi), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(EditTest, SetSelClampsAndGetSelOrdersTheEnds) {
  struct Case {
    int start, end;
    DWORD expectedStart, expectedEnd;
  };
  const Case cases[] = {
      {1, 3, 1, 3},   {3, 1, 1, 3},  // reversed: the lower one first
      {0, -1, 0, 10}, {2, 100, 2, 10}, {100, 200, 10, 10}, {-5, 2, 2, 10},
  };
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"0123456789");
  for (const Case& c : cases) {
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    EXPECT_EQ(selectionOf(box), std::make_pair(c.expectedStart, c.expectedEnd))
        << c.start << ", " << c.end;
  }
  SendMessageW(box, EM_SETSEL, 2, 5);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // deselect, caret stays
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{5}, DWORD{5}));
  LRESULT packed = SendMessageW(box, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(packed), 5);
  EXPECT_EQ(HIWORD(packed), 5);
}

TEST_F(EditTest, ShiftArrowsExtendFromTheAnchor) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"hello world");
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 3, 3);
  platform::InjectKey(VK_SHIFT, true);
  pressKey(VK_RIGHT);
  pressKey(VK_RIGHT);
  pressKey(VK_END);
  platform::InjectKey(VK_SHIFT, false);
  pump();
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{3}, DWORD{11}));
  pressKey(VK_LEFT);  // collapses to the selection's start
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{3}, DWORD{3}));
  chord(VK_CONTROL, 'A');
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{0}, DWORD{11}));
}

TEST_F(EditTest, CutCopyAndPasteGoThroughTheClipboard) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"cut me");
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 0, 4);
  chord(VK_CONTROL, 'X');
  EXPECT_EQ(textOf(box), u"me");
  EXPECT_EQ(platform::ClipboardText(), u"cut ");
  pressKey(VK_END);
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(textOf(box), u"mecut ");
  SendMessageW(box, EM_SETSEL, 0, 2);
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(platform::ClipboardText(), u"me");
  chord(VK_CONTROL, 'Z');  // undoes the paste
  EXPECT_EQ(textOf(box), u"me");
}

TEST_F(EditTest, LimitTextCutsTypingButNotSetText) {
  HWND box = edit();
  SetFocus(box);
  SendMessageW(box, EM_LIMITTEXT, 3, 0);
  parentLog().commands.clear();
  type(u"abcd");
  EXPECT_EQ(textOf(box), u"abc");
  EXPECT_THAT(codesFrom(box), ::testing::Contains(EN_MAXTEXT));
  SetWindowTextW(box, u"longer than three");
  EXPECT_EQ(textOf(box), u"longer than three");
  SendMessageW(box, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, StylesFilterWhatIsTyped) {
  HWND number = edit(ES_NUMBER | ES_AUTOHSCROLL);
  SetFocus(number);
  type(u"a1b2");
  EXPECT_EQ(textOf(number), u"12");
  HWND locked = edit(ES_READONLY | ES_AUTOHSCROLL, {10, 40, 210, 64}, u"fixed");
  SetFocus(locked);
  type(u"x");
  pressKey(VK_BACK);
  EXPECT_EQ(textOf(locked), u"fixed");
  SendMessageW(locked, EM_SETREADONLY, FALSE, 0);
  EXPECT_FALSE(GetWindowLongW(locked, GWL_STYLE) & ES_READONLY);
  HWND upper = edit(ES_UPPERCASE | ES_AUTOHSCROLL, {10, 70, 210, 94});
  SetFocus(upper);
  type(u"Mixed");
  EXPECT_EQ(textOf(upper), u"MIXED");
}

TEST_F(EditTest, EnterAndTabAreTextOnlyInMultiLineControls) {
  HWND single = edit();
  SetFocus(single);
  type(u"a\rb\tc");
  EXPECT_EQ(textOf(single), u"abc");
  HWND multi = edit(kMultiLine, {10, 50, 210, 150});
  SetFocus(multi);
  type(u"a\rb\tc");
  EXPECT_EQ(textOf(multi), u"a\r\nb\tc");
  EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, DialogCodesFollowTheStyles) {
  HWND single = edit();
  HWND wantsReturn = edit(kMultiLine, {10, 50, 210, 150});
  HWND plainMulti = edit(ES_MULTILINE, {220, 50, 390, 150});
  constexpr LRESULT base = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, VK_RETURN, 0), base);
  EXPECT_EQ(SendMessageW(wantsReturn, WM_GETDLGCODE, VK_RETURN, 0), base | DLGC_WANTALLKEYS);
  EXPECT_EQ(SendMessageW(plainMulti, WM_GETDLGCODE, VK_RETURN, 0), base);
  EXPECT_EQ(SendMessageW(wantsReturn, WM_GETDLGCODE, VK_TAB, 0), base);
}

TEST_F(EditTest, PasswordBoxShowsMasksAndRefusesToCopy) {
  HWND box = edit(ES_PASSWORD | ES_AUTOHSCROLL, {10, 10, 210, 34}, u"secret");
  EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), u'*');
  platform::SetClipboardText(u"before");
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, WM_COPY, 0, 0);
  EXPECT_EQ(platform::ClipboardText(), u"before");
  SendMessageW(box, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & ES_PASSWORD);
}

TEST_F(EditTest, CueBannerShowsWhileEmptyAndNotOnMultiLine) {
  HWND box = edit();
  EXPECT_TRUE(SendMessageW(box, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(u"Hint")));
  char16_t cue[16] = {};
  EXPECT_TRUE(SendMessageW(box, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 16));
  EXPECT_EQ(std::u16string(cue), u"Hint");
  HWND multi = edit(kMultiLine, {10, 50, 210, 150});
  EXPECT_FALSE(SendMessageW(multi, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(u"Hint")));
}

TEST_F(EditTest, ReplaceSelNotifiesAndMovesTheCaret) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"hello");
  SendMessageW(box, EM_SETSEL, 1, 4);
  parentLog().commands.clear();
  SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"ipp"));
  EXPECT_EQ(textOf(box), u"hippo");
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{4}, DWORD{4}));
  EXPECT_THAT(codesFrom(box), ElementsAre(EN_UPDATE, EN_CHANGE));
}

TEST_F(EditTest, MultiLineWithVerticalScrollBarWrapsWords) {
  HWND box = edit(kMultiLine, {10, 10, 130, 110});
  SetWindowTextW(box, u"The quick brown fox jumps over the lazy dog and keeps running far");
  LRESULT lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 2);
  // Every line starts at a word, none wider than the box.
  RECT format{};
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  std::u16string text = textOf(box);
  for (int line = 1; line < lines; ++line) {
    auto start = static_cast<size_t>(SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    EXPECT_EQ(text[start - 1], u' ') << line;
    EXPECT_NE(text[start], u' ') << line;
  }
  // The scroll bar's range covers the lines.
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(box, SB_VERT, &info);
  EXPECT_EQ(info.nMax, lines - 1);
}

TEST_F(EditTest, AutoHorizontalScrollMeansNoWordWrap) {
  HWND box = edit(ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, {10, 10, 130, 110});
  SetWindowTextW(box, u"The quick brown fox jumps over the lazy dog");
  EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(EditTest, ScrollCaretBringsTheCaretIntoView) {
  HWND box = edit(kMultiLine, {10, 10, 210, 80});
  std::u16string text;
  for (int i = 0; i < 40; ++i)
    text += u"line " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\r\n";
  SetWindowTextW(box, text.c_str());
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  auto length = static_cast<WPARAM>(text.size());
  SendMessageW(box, EM_SETSEL, length, static_cast<LPARAM>(length));
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // EM_SETSEL does not scroll
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  LRESULT first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 30);
  EXPECT_EQ(GetScrollPos(box, SB_VERT), first);
  // The caret's line is visible: its position lies inside the format rectangle.
  RECT format{};
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  LRESULT at = SendMessageW(box, EM_POSFROMCHAR, length, 0);
  EXPECT_GE(GET_Y_LPARAM(at), format.top);
  EXPECT_LT(GET_Y_LPARAM(at), format.bottom);
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditTest, ScrollBarClicksScrollTheText) {
  HWND box = edit(kMultiLine, {10, 10, 210, 80});
  std::u16string text;
  for (int i = 0; i < 20; ++i)
    text += u"line\r\n";
  SetWindowTextW(box, text.c_str());
  pump();
  RECT window;
  GetWindowRect(box, &window);
  // The down arrow sits at the bottom of the bar, inside the client edge.
  clickAt(POINT{window.right - 5, window.bottom - 5});
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
  LRESULT first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(box, SB_VERT, &info);
  // The last page is full: the last line is the bottom one.
  EXPECT_EQ(first + static_cast<LRESULT>(info.nPage) - 1, info.nMax);
  EXPECT_EQ(info.nPos, first);
}

TEST_F(EditTest, MouseSelectsByDraggingAndWordsByDoubleClick) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"alpha beta gamma");
  POINT start = onScreen(box, 2, 8);
  POINT end = onScreen(box, 150, 8);
  platform::InjectMouseMove(start);
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  platform::InjectMouseMove(end);
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{0}, DWORD{16}));
  LRESULT beta = SendMessageW(box, EM_POSFROMCHAR, 7, 0);
  POINT inBeta = onScreen(box, GET_X_LPARAM(beta), GET_Y_LPARAM(beta) + 2);
  clock_.advance(1000);
  clickAt(inBeta);
  clock_.advance(100);
  clickAt(inBeta);
  EXPECT_EQ(selectionOf(box), std::make_pair(DWORD{6}, DWORD{10}));
}

TEST_F(EditTest, ReadOnlyAndDisabledControlsAskForStaticColours) {
  HWND locked = edit(ES_READONLY | ES_AUTOHSCROLL, {10, 10, 210, 34}, u"x");
  parentLog().colorMessages.clear();
  RedrawWindow(locked, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_THAT(parentLog().colorMessages, ElementsAre(WM_CTLCOLORSTATIC));
  HWND open = edit(ES_AUTOHSCROLL, {10, 40, 210, 64}, u"x");
  parentLog().colorMessages.clear();
  RedrawWindow(open, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_THAT(parentLog().colorMessages, ElementsAre(WM_CTLCOLOREDIT));
  // The edit field is white with the platform's default colours.
  EXPECT_EQ(clientPixel(open, 150, 3), RGB(255, 255, 255));
}

}  // namespace
}  // namespace controls_test

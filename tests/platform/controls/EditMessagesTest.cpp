#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

using ::testing::ElementsAre;

constexpr DWORD kLog = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;

class EditMessages : public ControlTest {
 protected:
  HWND edit(DWORD style, RECT r, const char16_t* text) {
    return control(u"EDIT", text, style, r, 60, WS_EX_CLIENTEDGE);
  }
  std::pair<DWORD, DWORD> selection(HWND hwnd) {
    DWORD start = 0, end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
};

TEST_F(EditMessages, LineMessagesDescribeTheLines) {
  HWND box =
      edit(ES_MULTILINE | ES_AUTOHSCROLL, {10, 10, 300, 200}, u"first\r\nsecond\r\n\r\nfourth");
  EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 4);
  struct Case {
    int line;
    LRESULT index;
    LRESULT length;
  };
  const Case cases[] = {{0, 0, 5}, {1, 7, 6}, {2, 15, 0}, {3, 17, 6}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(c.line), 0), c.index) << c.line;
    EXPECT_EQ(SendMessageW(box, EM_LINELENGTH, static_cast<WPARAM>(c.index), 0), c.length);
    EXPECT_EQ(SendMessageW(box, EM_LINEFROMCHAR, static_cast<WPARAM>(c.index), 0), c.line);
  }
  EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, 4, 0), -1);
  char16_t buffer[16] = {};
  buffer[0] = 16;
  EXPECT_EQ(SendMessageW(box, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 6);
  EXPECT_EQ(std::u16string(buffer, 6), u"second");
  SendMessageW(box, EM_SETSEL, 9, 9);
  EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 7);
}

TEST_F(EditMessages, UpAndDownKeepTheColumn) {
  HWND box = edit(ES_MULTILINE | ES_AUTOHSCROLL, {10, 10, 300, 200}, u"abcdef\r\nab\r\nabcdef");
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 5, 5);
  pressKey(VK_DOWN);
  EXPECT_EQ(selection(box).first, 10u);  // the end of the short line
  pressKey(VK_DOWN);
  EXPECT_EQ(selection(box).first, 17u);  // back to the fifth column
  pressKey(VK_UP);
  pressKey(VK_UP);
  EXPECT_EQ(selection(box).first, 5u);
  platform::InjectKey(VK_CONTROL, true);
  pressKey(VK_END);
  platform::InjectKey(VK_CONTROL, false);
  pump();
  EXPECT_EQ(selection(box).first, 18u);
}

TEST_F(EditMessages, WheelAndScrollMessagesMoveTheFirstLine) {
  HWND box = edit(kLog, {10, 10, 200, 80}, u"");
  std::u16string text;
  for (int i = 0; i < 30; ++i)
    text += u"row\r\n";
  SetWindowTextW(box, text.c_str());
  SetFocus(box);
  SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  LRESULT scrolled = SendMessageW(box, EM_SCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(LOWORD(scrolled), 1);
  EXPECT_EQ(HIWORD(scrolled), TRUE);
  EXPECT_TRUE(SendMessageW(box, EM_LINESCROLL, 0, -2));
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  parentLog().commands.clear();
  SendMessageW(box, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_THAT(codesFrom(box), ElementsAre(EN_VSCROLL));
}

// The scroll notifications name what the user did (scroll bar, wheel, keys);
// the documentation lists no program request among their causes, so a scroll
// that follows EM_REPLACESEL, EM_SCROLLCARET or WM_SETTEXT is taken to be
// silent (a guess: the change itself is announced by EN_UPDATE/EN_CHANGE).
TEST_F(EditMessages, OnlyScrollsTheUserCausesAreAnnounced) {
  HWND box = edit(kLog, {10, 10, 200, 80}, u"");
  SetFocus(box);
  std::u16string rows;
  for (int i = 0; i < 30; ++i)
    rows += u"row\r\n";
  parentLog().commands.clear();
  SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(rows.c_str()));
  EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_THAT(codesFrom(box), ElementsAre(EN_UPDATE, EN_CHANGE));

  SendMessageW(box, EM_SETSEL, 0, 0);
  parentLog().commands.clear();
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_THAT(codesFrom(box), ElementsAre());

  parentLog().commands.clear();
  pressKey(VK_NEXT);
  EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_THAT(codesFrom(box), ElementsAre(EN_VSCROLL));
}

TEST_F(EditMessages, ThumbDragScrollsTheText) {
  HWND box = edit(kLog, {10, 10, 200, 110}, u"");
  std::u16string text;
  for (int i = 0; i < 100; ++i)
    text += u"row\r\n";
  SetWindowTextW(box, text.c_str());
  pump();
  RECT window;
  GetWindowRect(box, &window);
  int x = window.right - 4 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  int arrow = GetSystemMetrics(SM_CYVSCROLL);
  POINT thumb{x, window.top + 2 + arrow + 3};
  platform::InjectMouseMove(thumb);
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  platform::InjectMouseMove(POINT{x, thumb.y + 30});
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  LRESULT first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 10);
  EXPECT_EQ(GetScrollPos(box, SB_VERT), first);
}

TEST_F(EditMessages, FocusNotificationsAndHiddenSelection) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 200, 34}, u"\x2588\x2588\x2588\x2588");
  HWND keeps = edit(ES_AUTOHSCROLL | ES_NOHIDESEL, {10, 40, 200, 64}, u"\x2588\x2588\x2588\x2588");
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(keeps, EM_SETSEL, 0, -1);
  pump();
  LRESULT at = SendMessageW(box, EM_POSFROMCHAR, 1, 0);
  int x = GET_X_LPARAM(at) + 2, y = GET_Y_LPARAM(at) + 4;
  // Without the focus only ES_NOHIDESEL shows its selection.
  EXPECT_NE(clientPixel(box, x, y), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(clientPixel(keeps, x, y), GetSysColor(COLOR_HIGHLIGHTTEXT));
  parentLog().commands.clear();
  SetFocus(box);
  pump();
  EXPECT_EQ(clientPixel(box, x, y), GetSysColor(COLOR_HIGHLIGHTTEXT));
  SetFocus(keeps);
  EXPECT_THAT(codesFrom(box), ElementsAre(EN_SETFOCUS, EN_KILLFOCUS));
}

TEST_F(EditMessages, MarginsNarrowTheFormatRectangle) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"");
  RECT client, format;
  GetClientRect(box, &client);
  SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 20));
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.left, 10);
  EXPECT_EQ(format.right, client.right - 20);
  EXPECT_EQ(SendMessageW(box, EM_GETMARGINS, 0, 0), MAKELRESULT(10, 20));
}

TEST_F(EditMessages, CharFromPosAndPosFromCharAgree) {
  HWND box = edit(ES_MULTILINE | ES_AUTOHSCROLL, {10, 10, 300, 200}, u"alpha\r\nbeta");
  LRESULT at = SendMessageW(box, EM_POSFROMCHAR, 9, 0);
  LRESULT back =
      SendMessageW(box, EM_CHARFROMPOS, 0, MAKELPARAM(GET_X_LPARAM(at) + 1, GET_Y_LPARAM(at) + 3));
  EXPECT_EQ(LOWORD(back), 9);
  EXPECT_EQ(HIWORD(back), 1);
  EXPECT_EQ(SendMessageW(box, EM_POSFROMCHAR, 100, 0), -1);
}

TEST_F(EditMessages, TypingIsUndoneAsOneStep) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"x");
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 1, 1);
  EXPECT_FALSE(SendMessageW(box, EM_CANUNDO, 0, 0));
  display_->typeText(u"abc");
  pump();
  EXPECT_TRUE(SendMessageW(box, EM_CANUNDO, 0, 0));
  EXPECT_TRUE(SendMessageW(box, EM_GETMODIFY, 0, 0));
  SendMessageW(box, EM_UNDO, 0, 0);
  char16_t text[8] = {};
  GetWindowTextW(box, text, 8);
  EXPECT_EQ(std::u16string(text), u"x");
  SendMessageW(box, EM_UNDO, 0, 0);  // undoing the undo
  GetWindowTextW(box, text, 8);
  EXPECT_EQ(std::u16string(text), u"xabc");
  SetWindowTextW(box, u"reset");
  EXPECT_FALSE(SendMessageW(box, EM_CANUNDO, 0, 0));
  EXPECT_FALSE(SendMessageW(box, EM_GETMODIFY, 0, 0));
}

TEST_F(EditMessages, SingleLineWithoutAutoScrollTakesOnlyWhatFits) {
  HWND box = edit(0, {10, 10, 60, 34}, u"");
  SetFocus(box);
  parentLog().commands.clear();
  display_->typeText(u"wwwwwwwwwwwwwwwwwwww");
  pump();
  char16_t text[32] = {};
  int length = GetWindowTextW(box, text, 32);
  EXPECT_GT(length, 0);
  EXPECT_LT(length, 20);
  EXPECT_THAT(codesFrom(box), ::testing::Contains(EN_MAXTEXT));
}

TEST_F(EditMessages, PasteIntoASingleLineStopsAtTheLineBreak) {
  HWND box = edit(ES_AUTOHSCROLL, {10, 10, 210, 34}, u"");
  platform::SetClipboardText(u"one\r\ntwo");
  SendMessageW(box, WM_PASTE, 0, 0);
  char16_t text[16] = {};
  GetWindowTextW(box, text, 16);
  EXPECT_EQ(std::u16string(text), u"one");
}

}  // namespace
}  // namespace controls_test

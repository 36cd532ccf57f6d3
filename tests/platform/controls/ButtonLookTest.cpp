#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

using ::testing::ElementsAre;
using ButtonLook = ControlTest;

TEST_F(ButtonLook, PushButtonIsBevelledInButtonFace) {
  HWND button = control(u"BUTTON", u"", BS_PUSHBUTTON, {10, 10, 90, 35});
  EXPECT_EQ(clientPixel(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(clientPixel(button, 79, 24), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(clientPixel(button, 78, 23), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(clientPixel(button, 40, 12), GetSysColor(COLOR_BTNFACE));
  // Pushed: a flat shadow frame.
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  EXPECT_EQ(clientPixel(button, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(clientPixel(button, 79, 24), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ButtonLook, FocusedButtonShowsAFocusRectangle) {
  HWND button = control(u"BUTTON", u"", BS_PUSHBUTTON, {10, 10, 90, 35});
  COLORREF before = clientPixel(button, 4, 4);
  SetFocus(button);
  pump();
  EXPECT_NE(clientPixel(button, 4, 4), before);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_FOCUS);
}

TEST_F(ButtonLook, NotifyStyleReportsFocusChanges) {
  HWND button = control(u"BUTTON", u"", BS_PUSHBUTTON | BS_NOTIFY, {10, 10, 90, 35});
  SetFocus(button);
  SetFocus(parent_);
  EXPECT_THAT(codesFrom(button), ElementsAre(BN_SETFOCUS, BN_KILLFOCUS));
}

TEST_F(ButtonLook, CheckBoxDrawsItsBoxAndMark) {
  HWND box = control(u"BUTTON", u"Label", BS_AUTOCHECKBOX, {10, 10, 150, 30});
  // The sunken box is white inside.
  EXPECT_EQ(clientPixel(box, 6, 10), GetSysColor(COLOR_WINDOW));
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(clientPixel(box, 5, 10), GetSysColor(COLOR_WINDOWTEXT));  // the check mark
  HWND right = control(u"BUTTON", u"Label", BS_AUTOCHECKBOX | BS_LEFTTEXT, {10, 40, 150, 60});
  EXPECT_EQ(clientPixel(right, 139 - 6, 10), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(clientPixel(right, 6, 10), GetSysColor(COLOR_BTNFACE));
}

// On a finer screen the box and its mark grow with the resolution: 13
// pixels at 96 dots per inch, 20 at 144, with the mark drawn in 2-pixel dots.
TEST_F(ButtonLook, CheckBoxGrowsWithTheResolution) {
  struct Resolution {
    int dpi;
    int side;
  };
  for (Resolution r : {Resolution{96, 13}, Resolution{144, 20}}) {
    display_->changeDisplay({1024, 768}, r.dpi);
    HWND box = control(u"BUTTON", u"Label", BS_AUTOCHECKBOX | BS_TOP, {10, 10, 150, 40});
    // The sunken edge's shadow runs down the left side to the box's last row.
    EXPECT_EQ(clientPixel(box, 0, r.side - 2), GetSysColor(COLOR_BTNSHADOW)) << r.dpi;
    EXPECT_NE(clientPixel(box, 0, r.side), GetSysColor(COLOR_BTNSHADOW)) << r.dpi;
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    int centre = r.side / 2;
    EXPECT_EQ(clientPixel(box, centre, centre), GetSysColor(COLOR_WINDOWTEXT)) << r.dpi;
    DestroyWindow(box);
  }
}

TEST_F(ButtonLook, PushLikeCheckBoxLooksPushedWhenChecked) {
  HWND box = control(u"BUTTON", u"", BS_AUTOCHECKBOX | BS_PUSHLIKE, {10, 10, 90, 35});
  EXPECT_EQ(clientPixel(box, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  click(box);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clientPixel(box, 0, 0), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ButtonLook, GroupBoxFrameIsEtchedBelowItsTitle) {
  HWND group = control(u"BUTTON", u"Title", BS_GROUPBOX, {10, 10, 200, 100});
  HDC dc = GetDC(group);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  ReleaseDC(group, dc);
  int line = tm.tmHeight / 2;
  EXPECT_EQ(clientPixel(group, 150, line), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(clientPixel(group, 150, line + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(clientPixel(group, 0, 50), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(clientPixel(group, 189, 50), GetSysColor(COLOR_BTNHIGHLIGHT));
  // The title interrupts the line.
  EXPECT_NE(clientPixel(group, 9, line + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonLook, FlatButtonHasASingleFrame) {
  HWND button = control(u"BUTTON", u"", BS_PUSHBUTTON | BS_FLAT, {10, 10, 90, 35});
  EXPECT_EQ(clientPixel(button, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(clientPixel(button, 1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ButtonLook, ChangingTheTextOrTheStateRepaints) {
  HWND button = control(u"BUTTON", u"", BS_PUSHBUTTON, {10, 10, 90, 35});
  EXPECT_EQ(clientPixel(button, 40, 12), GetSysColor(COLOR_BTNFACE));
  SetWindowTextW(button, u"\x2588\x2588\x2588\x2588\x2588\x2588");
  EXPECT_EQ(clientPixel(button, 40, 12), GetSysColor(COLOR_BTNTEXT));
  EnableWindow(button, FALSE);
  EXPECT_EQ(clientPixel(button, 40, 12), GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace
}  // namespace controls_test

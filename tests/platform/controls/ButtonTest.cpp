#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Buttons = ControlTest;

TEST_F(Buttons, ClickRaisesBnClickedOnce) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON, {10, 10, 90, 35}, 7);
  click(button, 20, 10);
  EXPECT_THAT(codesFrom(button), ElementsAre(BN_CLICKED));
  EXPECT_EQ(parentLog().commands[0].id, 7);
  EXPECT_EQ(GetFocus(), button);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Buttons, PressReleasedOutsideRaisesNothing) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON, {10, 10, 90, 35});
  POINT inside = onScreen(button, 20, 10);
  platform::InjectMouseMove(inside);
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  pump();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  platform::InjectMouseMove(onScreen(button, 200, 100));
  pump();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  EXPECT_THAT(codesFrom(button), IsEmpty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Buttons, LosingTheCaptureCancelsThePress) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON, {10, 10, 90, 35});
  platform::InjectMouseMove(onScreen(button, 20, 10));
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  pump();
  ReleaseCapture();
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  EXPECT_THAT(codesFrom(button), IsEmpty());
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(Buttons, DisabledButtonIgnoresTheMouse) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON | WS_DISABLED, {10, 10, 90, 35});
  click(button, 20, 10);
  EXPECT_THAT(codesFrom(button), IsEmpty());
  EXPECT_NE(GetFocus(), button);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THAT(codesFrom(button), IsEmpty());
}

TEST_F(Buttons, BmClickClicksAnEnabledButton) {
  HWND button = control(u"BUTTON", u"OK", BS_DEFPUSHBUTTON, {10, 10, 90, 35});
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THAT(codesFrom(button), ElementsAre(BN_CLICKED));
}

TEST_F(Buttons, SpaceClicksTheFocusedButton) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON, {10, 10, 90, 35});
  SetFocus(button);
  platform::InjectKey(VK_SPACE, true);
  pump();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  EXPECT_THAT(codesFrom(button), IsEmpty());
  platform::InjectKey(VK_SPACE, false);
  pump();
  EXPECT_THAT(codesFrom(button), ElementsAre(BN_CLICKED));
}

// Enter belongs to the dialog handling: the button says what it is and is
// clicked with BM_CLICK.
TEST_F(Buttons, EnterIsLeftToTheDialogHandling) {
  HWND button = control(u"BUTTON", u"OK", BS_DEFPUSHBUTTON, {10, 10, 90, 35});
  SetFocus(button);
  pressKey(VK_RETURN);
  EXPECT_THAT(codesFrom(button), IsEmpty());
  LRESULT code = SendMessageW(button, WM_GETDLGCODE, VK_RETURN, 0);
  EXPECT_EQ(code, DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(Buttons, CheckBoxTogglesOnClickAndOnSpace) {
  HWND box = control(u"BUTTON", u"Option", BS_AUTOCHECKBOX, {10, 10, 150, 30});
  click(box, 6, 10);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_THAT(codesFrom(box), ElementsAre(BN_CLICKED));
  pressKey(VK_SPACE);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_THAT(codesFrom(box), ElementsAre(BN_CLICKED, BN_CLICKED));
}

TEST_F(Buttons, ThreeStateBoxCyclesThroughIndeterminate) {
  HWND box = control(u"BUTTON", u"Three", BS_AUTO3STATE, {10, 10, 150, 30});
  std::vector<LRESULT> states;
  for (int i = 0; i < 3; ++i) {
    click(box, 6, 10);
    states.push_back(SendMessageW(box, BM_GETCHECK, 0, 0));
  }
  EXPECT_THAT(states, ElementsAre(BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED));
}

TEST_F(Buttons, PlainCheckBoxLeavesItsStateToTheParent) {
  HWND box = control(u"BUTTON", u"Manual", BS_CHECKBOX, {10, 10, 150, 30});
  click(box, 6, 10);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_THAT(codesFrom(box), ElementsAre(BN_CLICKED));
}

TEST_F(Buttons, AutomaticRadioButtonsUncheckTheirGroup) {
  HWND first = control(u"BUTTON", u"A", BS_AUTORADIOBUTTON | WS_GROUP, {10, 10, 100, 30}, 1);
  HWND second = control(u"BUTTON", u"B", BS_AUTORADIOBUTTON, {10, 40, 100, 60}, 2);
  SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
  click(second, 6, 10);
  EXPECT_EQ(SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, GroupBoxLetsClicksThroughToItsParent) {
  HWND group = control(u"BUTTON", u"Group", BS_GROUPBOX, {10, 10, 200, 100});
  EXPECT_EQ(SendMessageW(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  POINT inside = onScreen(group, 50, 50);
  EXPECT_EQ(SendMessageW(group, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTTRANSPARENT);
  click(group, 50, 50);
  EXPECT_THAT(codesFrom(group), IsEmpty());
}

TEST_F(Buttons, SetStyleSwitchesTheDefaultLook) {
  HWND button = control(u"BUTTON", u"OK", BS_PUSHBUTTON | BS_MULTILINE, {10, 10, 90, 35});
  // A plain button's corner is the highlight of its raised edge.
  EXPECT_EQ(clientPixel(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(clientPixel(button, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & (BS_TYPEMASK | BS_MULTILINE),
            static_cast<LONG>(BS_DEFPUSHBUTTON | BS_MULTILINE));
  EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(Buttons, CheckBoxPaintsWithTheParentsColourBrush) {
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  parentLog().colorBrush = yellow;
  HWND box = control(u"BUTTON", u"Coloured", BS_AUTOCHECKBOX, {10, 10, 150, 30});
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(clientPixel(box, 138, 2), RGB(255, 255, 0));
  EXPECT_THAT(parentLog().colorMessages, ::testing::Contains(WM_CTLCOLORSTATIC));
  DestroyWindow(box);
  DeleteObject(yellow);
}

TEST_F(Buttons, OwnerDrawnButtonAsksItsParentToDraw) {
  HWND button = control(u"BUTTON", u"", BS_OWNERDRAW, {10, 10, 90, 35}, 9);
  parentLog().drawItems.clear();
  platform::InjectMouseMove(onScreen(button, 5, 5));
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  pump();
  ASSERT_FALSE(parentLog().drawItems.empty());
  const DRAWITEMSTRUCT& item = parentLog().drawItems.back();
  EXPECT_EQ(item.CtlType, ODT_BUTTON);
  EXPECT_EQ(item.CtlID, 9u);
  EXPECT_EQ(item.hwndItem, button);
  EXPECT_TRUE(item.itemState & ODS_SELECTED);
  EXPECT_EQ(item.rcItem.right, 80);
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  EXPECT_THAT(codesFrom(button), ElementsAre(BN_CLICKED));
}

TEST_F(Buttons, StaticNotifiesOnlyWithSsNotify) {
  HWND quiet = control(u"STATIC", u"Quiet", SS_LEFT, {10, 10, 100, 30}, 1);
  HWND notifying = control(u"STATIC", u"Loud", SS_LEFT | SS_NOTIFY, {10, 40, 100, 60}, 2);
  click(quiet);
  click(notifying);
  EXPECT_THAT(codesFrom(quiet), IsEmpty());
  EXPECT_THAT(codesFrom(notifying), ElementsAre(STN_CLICKED));
}

TEST_F(Buttons, StaticTextUsesTheParentsTextColour) {
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  parentLog().colorBrush = white;
  parentLog().colorText = RGB(255, 0, 0);
  HWND label = control(u"STATIC", u"\x2588\x2588\x2588", SS_LEFT, {10, 10, 100, 30});
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(clientPixel(label, 85, 15), RGB(255, 255, 255));
  EXPECT_EQ(clientPixel(label, 3, 6), RGB(255, 0, 0));
}

}  // namespace
}  // namespace controls_test

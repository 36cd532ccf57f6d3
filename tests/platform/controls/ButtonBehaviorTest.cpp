#include "internal/ButtonBehavior.h"

#include <gtest/gtest.h>

namespace {

using platform::internal::ButtonBehavior;

TEST(ButtonBehavior, PressReleasedInsideClicksOnce) {
  ButtonBehavior button(BS_PUSHBUTTON);
  ButtonBehavior::Effect press = button.press();
  EXPECT_TRUE(press.capture);
  EXPECT_TRUE(button.pushed());
  EXPECT_TRUE(button.move(false).redraw);  // out: shows released
  EXPECT_FALSE(button.pushed());
  EXPECT_TRUE(button.move(true).redraw);  // back in: pushed again
  ButtonBehavior::Effect release = button.release(true);
  EXPECT_TRUE(release.click);
  EXPECT_TRUE(release.releaseCapture);
  EXPECT_FALSE(button.release(true).click);  // no second click
}

TEST(ButtonBehavior, ReleaseOutsideOrCaptureLossCancels) {
  ButtonBehavior outside(BS_PUSHBUTTON);
  outside.press();
  EXPECT_FALSE(outside.release(false).click);
  ButtonBehavior lost(BS_PUSHBUTTON);
  lost.press();
  EXPECT_TRUE(lost.captureLost().redraw);
  EXPECT_FALSE(lost.release(true).click);
  EXPECT_FALSE(lost.pushed());
}

TEST(ButtonBehavior, SpaceClicksOnReleaseUnlessFocusIsLost) {
  ButtonBehavior button(BS_PUSHBUTTON);
  button.focusChanged(true);
  button.spaceDown();
  EXPECT_EQ(button.state(), BST_PUSHED | BST_FOCUS);
  EXPECT_TRUE(button.spaceUp().click);
  button.spaceDown();
  button.focusChanged(false);
  EXPECT_FALSE(button.spaceUp().click);
  EXPECT_EQ(button.state(), 0);
}

TEST(ButtonBehavior, GroupBoxesTakeNoPresses) {
  ButtonBehavior group(BS_GROUPBOX);
  EXPECT_FALSE(group.press().capture);
  EXPECT_FALSE(group.spaceDown().redraw);
  EXPECT_FALSE(group.spaceUp().click);
  EXPECT_FALSE(group.setCheck(BST_CHECKED));
}

TEST(ButtonBehavior, CheckStatesPerType) {
  struct Case {
    DWORD style;
    WPARAM set;
    WPARAM expected;
    WPARAM afterClick;
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED},
      {BS_AUTOCHECKBOX, BST_CHECKED, BST_CHECKED, BST_UNCHECKED},
      {BS_AUTOCHECKBOX, BST_INDETERMINATE, BST_CHECKED, BST_UNCHECKED},  // two states only
      {BS_AUTO3STATE, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED},
      {BS_AUTO3STATE, BST_CHECKED, BST_CHECKED, BST_INDETERMINATE},
      {BS_AUTO3STATE, BST_INDETERMINATE, BST_INDETERMINATE, BST_UNCHECKED},
      {BS_AUTORADIOBUTTON, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED},
      {BS_AUTORADIOBUTTON, BST_CHECKED, BST_CHECKED, BST_CHECKED},
      {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED, BST_CHECKED},
  };
  for (const Case& c : cases) {
    ButtonBehavior button(c.style);
    button.setCheck(c.set);
    EXPECT_EQ(button.check(), c.expected) << c.style << " " << c.set;
    if (button.kind() != ButtonBehavior::Kind::PushButton) {
      EXPECT_EQ(button.nextCheck(), c.afterClick) << c.style << " " << c.set;
    }
  }
}

TEST(ButtonBehavior, DialogCodesTellTheKindOfButton) {
  struct Case {
    DWORD style;
    LRESULT code;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_AUTOCHECKBOX, DLGC_BUTTON},
      {BS_3STATE, DLGC_BUTTON},
      {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_GROUPBOX, DLGC_STATIC},
      {BS_OWNERDRAW, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ButtonBehavior(c.style).dialogCode(), c.code) << c.style;
}

}  // namespace

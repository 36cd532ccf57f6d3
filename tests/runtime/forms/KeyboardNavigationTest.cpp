#include <gtest/gtest.h>

#include "runtime/forms/CommonHandler.h"
#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

class KeyboardNavigation : public FormsTest {
 protected:
  // Text boxes and a frame: tab indexes t0 0, t4 1, frame 2 (not a stop),
  // inside the frame t1 3, t2 4 (disabled), t3 5 (invisible), t5 6.
  void buildTabForm() {
    form = MakeForm("Form1");
    t0 = AddControl(*form, "t0", u"BrammelTextBox", {10, 10, 100, 30}, 0);
    frame = AddControl(*form, "frame", u"BrammelFrame", {10, 50, 300, 250}, 2);
    frame->allowsFocus = false;
    frame->style = WS_VISIBLE;
    t1 = AddControl(*form, "t1", u"BrammelTextBox", {10, 20, 100, 40}, 3, frame.Get());
    t2 = AddControl(*form, "t2", u"BrammelTextBox", {10, 50, 100, 70}, 4, frame.Get());
    t2->style |= WS_DISABLED;
    t3 = AddControl(*form, "t3", u"BrammelTextBox", {10, 80, 100, 100}, 5, frame.Get());
    t3->style &= ~WS_VISIBLE;
    t5 = AddControl(*form, "t5", u"BrammelTextBox", {10, 110, 100, 130}, 6, frame.Get());
    t4 = AddControl(*form, "t4", u"BrammelTextBox", {150, 10, 250, 30}, 1);
    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    Settle();
  }

  void press(int key) {
    display_->pressKey(key);
    Settle();
  }
  void pressWith(int modifier, int key) {
    platform::InjectKey(modifier, true);
    display_->pressKey(key);
    platform::InjectKey(modifier, false);
    Settle();
  }

  std::string focusName() {
    HWND focus = GetFocus();
    for (auto* c : {t0.Get(), t1.Get(), t2.Get(), t3.Get(), t4.Get(), t5.Get()}) {
      if (c && c->hwnd() == focus) return c->name;
    }
    return "?";
  }

  ComPtr<TestControl> form, frame, t0, t1, t2, t3, t4, t5;
};

TEST_F(KeyboardNavigation, TabAndShiftTabFollowTabIndexAcrossFramesSkippingDisabledAndHidden) {
  buildTabForm();
  EXPECT_EQ(focusName(), "t0");  // initial focus: the first candidate
  std::vector<std::string> forward;
  for (int i = 0; i < 5; ++i) {
    press(VK_TAB);
    forward.push_back(focusName());
  }
  EXPECT_EQ(forward, (std::vector<std::string>{"t4", "t1", "t5", "t0", "t4"}));
  std::vector<std::string> backward;
  for (int i = 0; i < 5; ++i) {
    pressWith(VK_SHIFT, VK_TAB);
    backward.push_back(focusName());
  }
  EXPECT_EQ(backward, (std::vector<std::string>{"t0", "t5", "t1", "t4", "t0"}));
  // The Tab character never reached a text box.
  char16_t text[8] = {};
  GetWindowTextW(t4->hwnd(), text, 8);
  EXPECT_EQ(std::u16string_view(text), u"");
}

TEST_F(KeyboardNavigation, AValidationVetoKeepsTheFocusAndSwallowsTheTab) {
  buildTabForm();
  t4->vetoFocus = true;
  press(VK_TAB);
  EXPECT_EQ(focusName(), "t0");
}

TEST_F(KeyboardNavigation, ArrowKeysMoveWithinTheFocusedControlsContainerAndWrap) {
  form = MakeForm("Form1");
  frame = AddControl(*form, "frame", u"BrammelFrame", {10, 10, 300, 200}, 0);
  frame->allowsFocus = false;
  t1 = AddControl(*form, "t1", u"BrammelCommandButton", {10, 20, 100, 40}, 1, frame.Get());
  t2 = AddControl(*form, "t2", u"BrammelCommandButton", {10, 50, 100, 70}, 2, frame.Get());
  t3 = AddControl(*form, "t3", u"BrammelCommandButton", {10, 80, 100, 100}, 3, frame.Get());
  t0 = AddControl(*form, "t0", u"BrammelCommandButton", {10, 250, 100, 270}, 4);
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  EXPECT_EQ(focusName(), "t1");
  press(VK_DOWN);
  EXPECT_EQ(focusName(), "t2");
  press(VK_RIGHT);
  EXPECT_EQ(focusName(), "t3");
  press(VK_DOWN);
  EXPECT_EQ(focusName(), "t1");  // wraps inside the frame, never to t0
  press(VK_UP);
  EXPECT_EQ(focusName(), "t3");
}

TEST_F(KeyboardNavigation, TabOntoAnOptionGroupLandsOnTheSetOption) {
  form = MakeForm("Form1");
  t0 = AddControl(*form, "t0", u"BrammelTextBox", {10, 10, 100, 30}, 0);
  t1 = AddControl(*form, "o1", u"BrammelOptionButton", {10, 40, 100, 60}, 1);
  t2 = AddControl(*form, "o2", u"BrammelOptionButton", {10, 70, 100, 90}, 2);
  t1->optionStyle = t2->optionStyle = true;
  t2->value = -1;
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), t2->hwnd());
  // With no option set, the landed-on one is set.
  t2->value = 0;
  pressWith(VK_SHIFT, VK_TAB);
  pressWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(GetFocus(), t0->hwnd());
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), t1->hwnd());
  EXPECT_EQ(t1->value, -1);
}

class EnterAndEscape : public KeyboardNavigation {
 protected:
  void build() {
    form = MakeForm("Form1");
    t0 = AddControl(*form, "text", u"BrammelTextBox", {10, 10, 100, 30}, 0);
    t1 = AddControl(*form, "ok", u"BrammelCommandButton", {10, 40, 100, 60}, 1);
    t2 = AddControl(*form, "cancel", u"BrammelCommandButton", {110, 40, 200, 60}, 2);
    t1->isDefault = true;
    t2->isCancel = true;
    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    Settle();
    ASSERT_EQ(GetFocus(), t0->hwnd());
    events().clear();
  }
};

TEST_F(EnterAndEscape, EnterPressesTheDefaultButtonButNotWithShiftOrCtrl) {
  build();
  struct Case {
    int modifier;  // 0: none
    bool pressed;
  };
  for (Case c : {Case{0, true}, Case{VK_SHIFT, false}, Case{VK_CONTROL, false}}) {
    events().clear();
    if (c.modifier) {
      pressWith(c.modifier, VK_RETURN);
    } else {
      press(VK_RETURN);
    }
    EXPECT_EQ(eventNames(rt::EventClick).size(), c.pressed ? 1u : 0u) << c.modifier;
    if (c.pressed) {
      EXPECT_EQ(eventNames(rt::EventClick)[0], "ok");
    }
  }
}

TEST_F(EnterAndEscape, EscapePressesTheCancelButton) {
  build();
  press(VK_ESCAPE);
  EXPECT_EQ(eventNames(rt::EventClick), std::vector<std::string>{"cancel"});
}

TEST_F(EnterAndEscape, EnterOnAFocusedButtonClicksThatButton) {
  build();
  SetFocus(t2->hwnd());
  Settle();
  events().clear();
  press(VK_RETURN);
  EXPECT_EQ(eventNames(rt::EventClick), std::vector<std::string>{"cancel"});
}

TEST_F(EnterAndEscape, TheFocusedButtonTakesTheDefaultLookAndGivesItBack) {
  build();
  auto isDefaultLook = [](HWND button) {
    return (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
  };
  EXPECT_TRUE(isDefaultLook(t1->hwnd()));
  SetFocus(t2->hwnd());
  Settle();
  EXPECT_TRUE(isDefaultLook(t2->hwnd()));
  EXPECT_FALSE(isDefaultLook(t1->hwnd()));
  SetFocus(t0->hwnd());
  Settle();
  EXPECT_TRUE(isDefaultLook(t1->hwnd()));
  EXPECT_FALSE(isDefaultLook(t2->hwnd()));
}

TEST_F(KeyboardNavigation, ASubclassedMultiLineTextBoxWithTheSwallowFlagNeverSeesTabOrEnter) {
  form = MakeForm("Form1");
  t0 = AddControl(*form, "memo", u"EDIT", {10, 10, 200, 100}, 0);
  t0->subclass = true;
  t0->style |= ES_MULTILINE | ES_WANTRETURN;
  t0->flags = rt::wflag::SwallowTabAndEnter;
  std::vector<WPARAM> keyDowns;
  t0->onWindowMessage = [&](UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_KEYDOWN) keyDowns.push_back(wp);
    return std::nullopt;
  };
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  ASSERT_EQ(GetFocus(), t0->hwnd());
  display_->typeText(u"a");
  press(VK_RETURN);  // the key goes to the box, its character does not
  PostMessageW(t0->hwnd(), WM_CHAR, '\t', 0);
  PostMessageW(t0->hwnd(), WM_CHAR, '\r', 0);
  display_->typeText(u"b");
  Settle();
  char16_t text[16] = {};
  GetWindowTextW(t0->hwnd(), text, 16);
  EXPECT_EQ(std::u16string_view(text), u"ab");
  EXPECT_NE(std::find(keyDowns.begin(), keyDowns.end(), WPARAM{VK_RETURN}), keyDowns.end());
  EXPECT_TRUE(t0->record->window.subclassed);
  // Without the flag the same characters arrive.
  t0->record->window.flags = 0;
  PostMessageW(t0->hwnd(), WM_CHAR, '\t', 0);
  Settle();
  GetWindowTextW(t0->hwnd(), text, 16);
  EXPECT_EQ(std::u16string_view(text), u"ab\t");
}

}  // namespace
}  // namespace forms_test

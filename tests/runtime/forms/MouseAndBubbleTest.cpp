#include <gtest/gtest.h>

#include "runtime/forms/CommonHandler.h"
#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

class MouseAndBubble : public FormsTest {
 protected:
  // Screen point of a client point of a window.
  POINT screenOf(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  void clickAt(POINT p, platform::MouseButton button = platform::MouseButton::Left) {
    display_->click(p.x, p.y, button);
    Settle();
  }
  void moveTo(POINT p) {
    display_->moveMouse(p.x, p.y);
    Settle();
  }
  HWND bubble() { return rt::CurrentEngineContext().bubbleWindow; }
  bool bubbleShown() { return bubble() && IsWindowVisible(bubble()); }
};

TEST_F(MouseAndBubble, AClickOnAWindowlessLabelInsideAFrameRaisesTheLabelsEvents) {
  auto form = MakeForm("Form1");
  auto frame = AddControl(*form, "Frame1", u"BrammelFrame", {20, 20, 220, 170}, 0);
  frame->eventFlags = rt::eflag::CaptureWhileButtonDown;
  frame->style |= BS_GROUPBOX;  // a group box sends no click notification of its own
  // and, as a frame does, takes the mouse instead of passing it to the form.
  frame->onWindowMessage = [](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_NCHITTEST) return HTCLIENT;
    return std::nullopt;
  };
  auto label = AddControl(*form, "Label1", u"", {10, 30, 110, 50}, std::nullopt, frame.Get());
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  events().clear();
  clickAt(screenOf(frame->hwnd(), 14, 33));
  ASSERT_EQ(eventNames(rt::EventClick), std::vector<std::string>{"Label1"});
  ASSERT_EQ(eventNames(rt::EventMouseDown), std::vector<std::string>{"Label1"});
  ASSERT_EQ(eventNames(rt::EventMouseUp), std::vector<std::string>{"Label1"});
  // Button 1, no shift, coordinates in twips relative to the label.
  for (const auto& e : events()) {
    if (e.id != rt::EventMouseDown) continue;
    EXPECT_EQ(e.args, (std::vector<double>{1, 0, 4 * 15, 3 * 15}));
  }
  // A click on the frame outside the label is the frame's own.
  events().clear();
  clickAt(screenOf(frame->hwnd(), 150, 100));
  EXPECT_EQ(eventNames(rt::EventClick), std::vector<std::string>{"Frame1"});
}

TEST_F(MouseAndBubble, MouseArgumentsCarryButtonShiftAndScaledCoordinates) {
  auto form = MakeForm("Form1");
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  struct Case {
    platform::MouseButton button;
    int modifier;
    double buttonArg, shiftArg;
  };
  const Case cases[] = {{platform::MouseButton::Left, 0, 1, 0},
                        {platform::MouseButton::Right, VK_SHIFT, 2, 1},
                        {platform::MouseButton::Middle, VK_CONTROL, 4, 2}};
  HWND hwnd = StateOf(*form).windowHandle;
  for (const Case& c : cases) {
    events().clear();
    if (c.modifier) platform::InjectKey(c.modifier, true);
    clickAt(screenOf(hwnd, 10, 20), c.button);
    if (c.modifier) platform::InjectKey(c.modifier, false);
    Settle();
    bool seen = false;
    for (const auto& e : events()) {
      if (e.id != rt::EventMouseDown) continue;
      seen = true;
      EXPECT_EQ(e.args, (std::vector<double>{c.buttonArg, c.shiftArg, 150, 300}));
    }
    EXPECT_TRUE(seen);
  }
}

TEST_F(MouseAndBubble, ReflectedButtonNotificationsRaiseClickAsTheEventFlagsAllow) {
  struct Case {
    uint32_t flags;
    bool disabled;
    bool clicked;
  };
  const Case cases[] = {{0, false, true},
                        {rt::eflag::NoClickFromNotification, false, false},
                        {rt::eflag::EventsOnlyWhileEnabled, false, true},
                        {rt::eflag::EventsOnlyWhileEnabled, true, false},
                        {0, true, true}};
  for (const Case& c : cases) {
    auto form = MakeForm("Form1");
    auto button = AddControl(*form, "Command1", u"BrammelCommandButton", {10, 10, 100, 40}, 0);
    button->eventFlags = c.flags;
    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    if (c.disabled) EnableWindow(button->hwnd(), FALSE);
    events().clear();
    // The button's notification, as its parent receives it.
    SendMessageW(StateOf(*form).windowHandle, WM_COMMAND, MAKEWPARAM(256, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->hwnd()));
    EXPECT_EQ(eventNames(rt::EventClick).size(), c.clicked ? 1u : 0u)
        << c.flags << " " << c.disabled;
    rt::Unload(form.Get());
  }
}

TEST_F(MouseAndBubble, AControlDestroyedInsideItsOwnClickHandlerIsNotTouchedAfterwards) {
  auto form = MakeForm("Form1");
  auto button = AddControl(*form, "Command1", u"BrammelCommandButton", {10, 10, 100, 40}, 0);
  button->eventFlags = rt::eflag::CaptureWhileButtonDown;
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  POINT at = screenOf(button->hwnd(), 5, 5);
  int clicks = 0;
  button->onEvent = [&](DISPID id) {
    if (id != rt::EventClick) return;
    ++clicks;
    rt::RemoveControl(*button->record);
  };
  clickAt(at);
  EXPECT_GE(clicks, 1);
  EXPECT_TRUE(button->record->removed);
  EXPECT_EQ(button->terminated, 1);
  EXPECT_FALSE(IsWindow(button->record->window.hwnd));
  // The form goes on working.
  clickAt(at);
  EXPECT_EQ(rt::Yield(), 1);
}

TEST_F(MouseAndBubble, AFormUnloadedAndReleasedInsideAClickHandlerIsNotTouchedAfterwards) {
  auto form = MakeForm("Form1");
  auto button = AddControl(*form, "Command1", u"BrammelCommandButton", {10, 10, 100, 40}, 0);
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  POINT at = screenOf(button->hwnd(), 5, 5);
  button->onEvent = [&](DISPID id) {
    if (id != rt::EventClick || !form) return;
    rt::Unload(form.Get());
    rt::DetachForm(form.Get());
    form = nullptr;
  };
  clickAt(at);
  EXPECT_FALSE(form);
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(MouseAndBubble, TheBubbleAppearsAfter700msOfStillnessAndHidesWhenTheMouseLeaves) {
  auto form = MakeForm("Form1");
  auto button = AddControl(*form, "Command1", u"BrammelCommandButton", {10, 10, 100, 40}, 0);
  button->toolTip = u"Sends the datagram";
  auto plain = AddControl(*form, "Command2", u"BrammelCommandButton", {10, 60, 100, 90}, 1);
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  POINT over = screenOf(button->hwnd(), 20, 10);
  moveTo(over);
  advance(600);
  EXPECT_FALSE(bubbleShown());
  advance(100);
  ASSERT_TRUE(bubbleShown());
  char16_t text[64] = {};
  GetWindowTextW(bubble(), text, 64);
  EXPECT_EQ(std::u16string_view(text), u"Sends the datagram");
  RECT r{};
  GetWindowRect(bubble(), &r);
  EXPECT_GT(r.top, over.y);
  EXPECT_LT(r.left, over.x);
  EXPECT_GT(r.right, over.x);
  // Leaving for a control without a tooltip hides it; nothing comes back.
  moveTo(screenOf(plain->hwnd(), 20, 10));
  advance(100);
  EXPECT_FALSE(bubbleShown());
  advance(1000);
  EXPECT_FALSE(bubbleShown());
  // Back over the control: armed again.
  moveTo(screenOf(button->hwnd(), 25, 12));
  advance(700);
  EXPECT_TRUE(bubbleShown());
  // Leaving the control for the bare form: the poll hides it.
  moveTo(screenOf(StateOf(*form).windowHandle, 300, 250));
  advance(200);
  EXPECT_FALSE(bubbleShown());
}

TEST_F(MouseAndBubble, MovingBeforeTheDelayRestartsIt) {
  auto form = MakeForm("Form1");
  auto button = AddControl(*form, "Command1", u"BrammelCommandButton", {10, 10, 100, 40}, 0);
  button->toolTip = u"Tip";
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  moveTo(screenOf(button->hwnd(), 20, 10));
  advance(500);
  moveTo(screenOf(button->hwnd(), 21, 10));
  advance(500);
  EXPECT_FALSE(bubbleShown());
  advance(200);
  EXPECT_TRUE(bubbleShown());
}

TEST_F(MouseAndBubble, FocusChangesArriveAsDeferredMessagesOncePerLoss) {
  auto form = MakeForm("Form1");
  auto a = AddControl(*form, "A", u"BrammelTextBox", {10, 10, 100, 30}, 0);
  auto b = AddControl(*form, "B", u"BrammelTextBox", {10, 40, 100, 60}, 1);
  a->sinkOfOwnWindow = b->sinkOfOwnWindow = false;
  std::vector<std::string> seen;
  for (auto* c : {a.Get(), b.Get()}) {
    c->onWindowMessage = [&seen, c](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg == rt::WM_FOCUS_GAINED) seen.push_back(c->name + "+7");
      if (msg == rt::WM_FOCUS_LOSS_DONE) seen.push_back(c->name + "+9");
      return std::nullopt;
    };
  }
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  Settle();
  seen.clear();
  SetFocus(b->hwnd());
  EXPECT_TRUE(seen.empty());  // nothing runs inside the focus change
  EXPECT_TRUE(a->record->window.focusLossPosted);
  Settle();
  EXPECT_EQ(seen, (std::vector<std::string>{"A+9", "B+7"}));
  EXPECT_FALSE(a->record->window.focusLossPosted);
  EXPECT_EQ(StateOf(*form).activeControl, b->record);
}

}  // namespace
}  // namespace forms_test

// The drawn message box, driven through the headless display's input.
#include "internal/MessageBoxDialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "WindowTestSupport.h"
#include "internal/MessageBoxLayout.h"
#include "platform/gdi.h"

namespace windowing_test {
namespace {

using platform::internal::MessageBoxDialog;
using platform::internal::MessageBoxLayout;

// What the user does once the box is up: a message posted before the box
// opens reaches this window from inside the box's own loop.
std::function<void(HWND box)>& userAction() {
  static std::function<void(HWND)> action;
  return action;
}

// A later step: runs from a timer of the actor, after the timers due before it.
std::function<void()>& laterAction() {
  static std::function<void()> action;
  return action;
}

LRESULT actorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_APP:
      userAction()(GetForegroundWindow());
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, wParam);
      laterAction()();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

HWND makeActor() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = actorProc;
  wc.lpszClassName = u"BoxActor";
  RegisterClassExW(&wc);
  return CreateWindowExW(0, u"BoxActor", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                         nullptr);
}

class MessageBoxDialogTest : public WindowTest {
 protected:
  int show(UINT style, std::function<void(HWND)> action, HWND owner = nullptr) {
    userAction() = std::move(action);
    HWND actor = actor_ = makeActor();
    PostMessageW(actor, WM_APP, 0, 0);
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner;
    params.lpszText = u"Save the changes?";
    params.lpszCaption = u"Skiffwire";
    params.dwStyle = style;
    params.dwContextHelpId = 42;
    params.lpfnMsgBoxCallback = helpCallback_;
    int answer = MessageBoxDialog::run(params);
    DestroyWindow(actor);
    return answer;
  }

  void pressKeys(std::initializer_list<int> keys) {
    for (int key : keys)
      display_->pressKey(key);
  }

  MSGBOXCALLBACK helpCallback_ = nullptr;
  HWND actor_ = nullptr;
};

struct KeyCase {
  const char* name;
  UINT style;
  std::vector<int> keys;
  const char16_t* typed;
  int expected;
};

class MessageBoxKeys : public MessageBoxDialogTest,
                       public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MessageBoxKeys, AnswerTheButtonTheKeysChoose) {
  const KeyCase& c = GetParam();
  int answer = show(c.style, [&](HWND) {
    for (int key : c.keys)
      display_->pressKey(key);
    display_->typeText(c.typed);
  });
  EXPECT_EQ(answer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, MessageBoxKeys,
    ::testing::Values(
        KeyCase{"OkEnter", MB_OK, {VK_RETURN}, u"", IDOK},
        KeyCase{"OkEscape", MB_OK, {VK_ESCAPE}, u"", IDOK},
        KeyCase{"OkCancelEscape", MB_OKCANCEL, {VK_ESCAPE}, u"", IDCANCEL},
        KeyCase{"YesNoSecondDefault", MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, u"", IDNO},
        KeyCase{"YesNoEscapeDoesNothing", MB_YESNO, {VK_ESCAPE, VK_RETURN}, u"", IDYES},
        KeyCase{"YesNoCancelTab", MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, u"", IDNO},
        KeyCase{
            "YesNoCancelThirdDefault", MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_SPACE}, u"", IDCANCEL},
        KeyCase{"RetryCancelArrow", MB_RETRYCANCEL, {VK_RIGHT, VK_RETURN}, u"", IDCANCEL},
        KeyCase{"AbortRetryIgnoreMnemonic", MB_ABORTRETRYIGNORE, {}, u"i", IDIGNORE},
        KeyCase{"YesNoMnemonic", MB_YESNO | MB_ICONQUESTION, {}, u"y", IDYES},
        KeyCase{
            "DefaultBeyondTheSetIsTheFirst", MB_OKCANCEL | MB_DEFBUTTON3, {VK_RETURN}, u"", IDOK}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(MessageBoxDialogTest, TheOwnerIsDisabledWhileTheBoxIsUpAndItsTimersFire) {
  HWND owner = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetTimer(owner, 7, 5, nullptr);
  clock_.advance(10);  // the owner's timer is due while the box is up
  bool ownerEnabledDuring = true;
  HWND boxOwner = nullptr;
  laterAction() = [&] { display_->pressKey(VK_ESCAPE); };
  int answer = show(
      MB_OKCANCEL | MB_ICONWARNING,
      [&](HWND box) {
        ownerEnabledDuring = IsWindowEnabled(owner) != FALSE;
        boxOwner = GetWindow(box, GW_OWNER);
        SetTimer(actor_, 1, 20, nullptr);
        clock_.advance(30);
      },
      owner);
  KillTimer(owner, 7);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_EQ(boxOwner, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(messagesOf(owner, {WM_TIMER}).empty());
}

TEST_F(MessageBoxDialogTest, AClickOnTheSecondButtonAnswersIt) {
  int answer = show(MB_OKCANCEL, [&](HWND box) {
    RECT client;
    GetClientRect(box, &client);
    // Two buttons of 75 pixels, 6 apart, centred in the row at the bottom.
    POINT point{client.right / 2 + 3 + 37, client.bottom - 11 - 11};
    ClientToScreen(box, &point);
    display_->click(point.x, point.y);
  });
  EXPECT_EQ(answer, IDCANCEL);
}

HELPINFO lastHelp{};
int helpCalls = 0;

void recordHelp(LPHELPINFO info) {
  lastHelp = *info;
  ++helpCalls;
}

TEST_F(MessageBoxDialogTest, HelpCallsTheCallbackAndKeepsTheBoxOpen) {
  helpCalls = 0;
  helpCallback_ = recordHelp;
  int answer = show(MB_OK | MB_HELP | MB_ICONINFORMATION, [&](HWND) {
    pressKeys({VK_F1, VK_TAB, VK_RETURN, VK_ESCAPE});
  });
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(helpCalls, 2);  // F1, then Enter on the focused Help button
  EXPECT_EQ(lastHelp.cbSize, sizeof(HELPINFO));
  EXPECT_EQ(lastHelp.dwContextId, 42u);
}

TEST_F(MessageBoxDialogTest, WmQuitEndsTheBoxAndIsPostedAgain) {
  int answer = show(MB_OK, [](HWND) { PostQuitMessage(3); });
  EXPECT_EQ(answer, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(MessageBoxLayoutTest, ButtonRowIsCentredBelowIconAndText) {
  MessageBoxLayout layout(MB_YESNOCANCEL | MB_ICONERROR | MB_HELP, SIZE{200, 16}, 144);
  ASSERT_EQ(layout.buttons().size(), 4u);
  EXPECT_EQ(layout.buttons()[3].label, u"Help");
  RECT icon = layout.iconRect();
  EXPECT_EQ(icon.right - icon.left, 48);  // 32 at 96 dpi
  EXPECT_GE(layout.textRect().left, icon.right);
  const RECT& first = layout.buttons().front().rect;
  const RECT& last = layout.buttons().back().rect;
  EXPECT_EQ(first.left, layout.clientSize().cx - last.right);
  EXPECT_GE(first.top, icon.bottom);
  EXPECT_EQ(MessageBoxLayout::cancelAnswerOf(MB_ABORTRETRYIGNORE), 0);
  EXPECT_EQ(MessageBoxLayout::cancelAnswerOf(MB_OK), IDOK);
}

}  // namespace
}  // namespace windowing_test

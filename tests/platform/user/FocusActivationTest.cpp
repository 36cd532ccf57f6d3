#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using FocusAndActivation = WindowTest;

constexpr std::initializer_list<UINT> kActivation = {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                                     WM_SETFOCUS, WM_KILLFOCUS};

std::vector<std::pair<HWND, UINT>> activationTrail() {
  std::vector<std::pair<HWND, UINT>> trail;
  for (const Logged& e : log()) {
    if (std::find(kActivation.begin(), kActivation.end(), e.message) != kActivation.end()) {
      trail.emplace_back(e.hwnd, e.message);
    }
  }
  return trail;
}

const Logged* find(HWND hwnd, UINT message) {
  for (const Logged& e : log()) {
    if (e.hwnd == hwnd && e.message == message) return &e;
  }
  return nullptr;
}

TEST_F(FocusAndActivation, SwitchingActiveWindowsDeactivatesThenActivates) {
  HWND a = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {200, 200, 400, 400});
  ASSERT_EQ(GetActiveWindow(), b);
  log().clear();
  EXPECT_EQ(SetActiveWindow(a), b);
  std::vector<std::pair<HWND, UINT>> expected{{b, WM_NCACTIVATE}, {b, WM_ACTIVATE},
                                              {a, WM_NCACTIVATE}, {a, WM_ACTIVATE},
                                              {b, WM_KILLFOCUS},  {a, WM_SETFOCUS}};
  EXPECT_EQ(activationTrail(), expected);
  EXPECT_EQ(find(b, WM_ACTIVATE)->wParam, MAKEWPARAM(WA_INACTIVE, 0));
  EXPECT_EQ(find(b, WM_ACTIVATE)->lParam, reinterpret_cast<LPARAM>(a));
  EXPECT_EQ(find(a, WM_ACTIVATE)->wParam, MAKEWPARAM(WA_ACTIVE, 0));
  EXPECT_EQ(find(a, WM_ACTIVATE)->lParam, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(find(b, WM_NCACTIVATE)->wParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetTopWindow(nullptr), a);  // activation brings the window to the top
}

TEST_F(FocusAndActivation, FocusMovesWithKillFocusBeforeSetFocus) {
  HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND one = createChild(top, 1);
  HWND two = createChild(top, 2, {10, 80, 110, 120});
  EXPECT_EQ(SetFocus(one), top);
  log().clear();
  EXPECT_EQ(SetFocus(two), one);
  ASSERT_THAT(messagesOf(nullptr), ElementsAre(WM_KILLFOCUS, WM_SETFOCUS));
  EXPECT_EQ(log()[0].hwnd, one);
  EXPECT_EQ(log()[0].wParam, reinterpret_cast<WPARAM>(two));
  EXPECT_EQ(log()[1].hwnd, two);
  EXPECT_EQ(log()[1].wParam, reinterpret_cast<WPARAM>(one));
  log().clear();
  EXPECT_EQ(SetFocus(two), two);  // no change, no messages
  EXPECT_TRUE(log().empty());
}

TEST_F(FocusAndActivation, FocusingAChildOfAnInactiveWindowActivatesItFirst) {
  HWND a = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = createChild(a, 1);
  HWND b = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_EQ(GetActiveWindow(), b);
  log().clear();
  SetFocus(child);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), child);
  auto trail = activationTrail();
  ASSERT_FALSE(trail.empty());
  EXPECT_EQ(trail.back(), std::make_pair(child, WM_SETFOCUS));
  EXPECT_EQ(trail.front(), std::make_pair(b, WM_NCACTIVATE));
}

TEST_F(FocusAndActivation, FirstActivationTellsTheThreadsWindowsTheAppIsActive) {
  HWND hidden = createTop();
  HWND shown = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const Logged* app = find(hidden, WM_ACTIVATEAPP);
  ASSERT_TRUE(app);
  EXPECT_EQ(app->wParam, static_cast<WPARAM>(TRUE));
  ASSERT_TRUE(find(shown, WM_ACTIVATEAPP));
  log().clear();
  DestroyWindow(shown);  // nothing else can be active: the app is deactivated
  app = find(hidden, WM_ACTIVATEAPP);
  ASSERT_TRUE(app);
  EXPECT_EQ(app->wParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(FocusAndActivation, HidingTheActiveWindowActivatesItsOwner) {
  HWND owner = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND other = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND dialog = CreateWindowExW(0, kRecordingClass, u"dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                0, 0, 100, 100, owner, nullptr, nullptr, nullptr);
  ASSERT_EQ(GetActiveWindow(), dialog);
  EXPECT_TRUE(ShowWindow(dialog, SW_HIDE));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_NE(GetActiveWindow(), other);
  log().clear();
  EXPECT_FALSE(ShowWindow(dialog, SW_HIDE));  // already hidden: nothing happens
  EXPECT_TRUE(log().empty());
}

TEST_F(FocusAndActivation, DisablingSendsCancelModeAndEnableAndKeepsTheFocus) {
  struct Case {
    const char* what;
    bool disableParent;
  };
  const Case cases[] = {{"the focused window", false}, {"the parent of the focused window", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = createChild(top, 1);
    HWND target = c.disableParent ? top : child;
    SetFocus(child);
    log().clear();
    EXPECT_FALSE(EnableWindow(target, FALSE));  // it was enabled
    EXPECT_THAT(messagesOf(nullptr), ElementsAre(WM_CANCELMODE, WM_ENABLE));
    EXPECT_EQ(log().back().hwnd, target);
    EXPECT_EQ(log().back().wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(GetFocus(), child);
    EXPECT_FALSE(IsWindowEnabled(target));
    SetFocus(top);
    EXPECT_EQ(SetFocus(child), nullptr);  // a disabled window, or one inside it, takes no focus
    EXPECT_EQ(GetFocus(), c.disableParent ? child : top);
    log().clear();
    EXPECT_TRUE(EnableWindow(target, TRUE));  // it was disabled
    EXPECT_THAT(messagesOf(nullptr), ElementsAre(WM_ENABLE));
    EXPECT_EQ(log().back().wParam, static_cast<WPARAM>(TRUE));
    EXPECT_FALSE(EnableWindow(target, TRUE));
    DestroyWindow(top);
  }
}

TEST_F(FocusAndActivation, CaptureChangesAreAnnouncedToTheLoser) {
  HWND a = createTop(WS_POPUP | WS_VISIBLE);
  HWND b = createTop(WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(SetCapture(a), nullptr);
  log().clear();
  EXPECT_EQ(SetCapture(b), a);
  ASSERT_THAT(messagesOf(nullptr), ElementsAre(WM_CAPTURECHANGED));
  EXPECT_EQ(log()[0].hwnd, a);
  EXPECT_EQ(log()[0].lParam, reinterpret_cast<LPARAM>(b));
  log().clear();
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_THAT(messagesOf(b), ElementsAre(WM_CAPTURECHANGED));
  EXPECT_EQ(log()[0].lParam, 0);
}

TEST_F(FocusAndActivation, DestroyingTheFocusWindowLeavesNoStaleFocus) {
  HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = createChild(top, 1);
  SetFocus(child);
  SetCapture(child);
  DestroyWindow(child);
  EXPECT_EQ(GetFocus(), top);  // the focus falls back to the parent
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetActiveWindow(), top);
}

}  // namespace
}  // namespace windowing_test

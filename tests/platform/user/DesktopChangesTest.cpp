// Changes the desktop's window manager makes behind the platform's back:
// they wait in the window thread's input and are applied as it takes input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using DesktopChanges = WindowTest;

RECT windowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

TEST_F(DesktopChanges, MovesAndResizesArriveAsTheFrameWouldMakeThem) {
  struct Case {
    const char* what;
    RECT to;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {"move", {150, 120, 550, 420}, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}},
      {"resize",
       {150, 120, 650, 520},
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
      {"both",
       {10, 20, 310, 220},
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
      {"where it is already", {10, 20, 310, 220}, {}},
  };
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  pump();
  for (const Case& c : cases) {
    log().clear();
    platform::InjectWindowPlacement(hwnd, c.to);
    pump();
    EXPECT_EQ(windowRect(hwnd), c.to) << c.what;
    std::vector<UINT> seen = messagesOf(
        hwnd, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE});
    EXPECT_EQ(seen, c.messages) << c.what;
  }
}

TEST_F(DesktopChanges, APlacementWaitsForTheThreadToTakeInputAndLeavesNoMessage) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  pump();
  platform::InjectWindowPlacement(hwnd, RECT{0, 0, 300, 200});
  EXPECT_EQ(windowRect(hwnd), (RECT{100, 100, 500, 400}));  // not applied yet
  EXPECT_NE(GetQueueStatus(QS_MOUSEBUTTON), 0u);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE));
  EXPECT_EQ(windowRect(hwnd), (RECT{0, 0, 300, 200}));
  RECT client{};
  GetClientRect(hwnd, &client);
  const Logged* size = nullptr;
  for (const Logged& e : log())
    if (e.hwnd == hwnd && e.message == WM_SIZE) size = &e;
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->lParam, MAKELPARAM(client.right, client.bottom));
}

TEST_F(DesktopChanges, TheDriverHearsTheAppliedRectangle) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  pump();
  display_->clearEvents();
  platform::InjectWindowPlacement(hwnd, RECT{40, 50, 240, 150});
  pump();
  auto events = display_->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, platform::DisplayEvent::Kind::Moved);
  EXPECT_EQ(events[0].rect, (RECT{40, 50, 240, 150}));
}

TEST_F(DesktopChanges, AMinimisedOrDestroyedWindowIgnoresPlacements) {
  HWND minimised = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ShowWindow(minimised, SW_MINIMIZE);
  pump();
  RECT before = windowRect(minimised);
  platform::InjectWindowPlacement(minimised, RECT{0, 0, 300, 200});
  HWND gone = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  platform::InjectWindowPlacement(gone, RECT{0, 0, 300, 200});
  platform::InjectActivation(gone, true);
  DestroyWindow(gone);
  pump();
  EXPECT_EQ(windowRect(minimised), before);
  EXPECT_TRUE(IsIconic(minimised));
}

TEST_F(DesktopChanges, FocusFromTheDesktopActivatesAndDeactivates) {
  HWND a = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {200, 200, 400, 400});
  pump();
  ASSERT_EQ(GetActiveWindow(), b);

  platform::InjectActivation(a, true);
  pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetFocus(), a);

  // A loss reported for a window that is no longer active changes nothing.
  log().clear();
  platform::InjectActivation(b, false);
  pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_TRUE(log().empty());

  // The desktop gave the focus to another program.
  platform::InjectActivation(a, false);
  pump();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_THAT(messagesOf(a, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}),
              ElementsAre(WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS));
  EXPECT_THAT(messagesOf(b, {WM_ACTIVATEAPP}), ElementsAre(WM_ACTIVATEAPP));

  // And back: the program is active again.
  log().clear();
  platform::InjectActivation(a, true);
  pump();
  EXPECT_EQ(GetForegroundWindow(), a);
  const Logged* app = nullptr;
  for (const Logged& e : log())
    if (e.hwnd == a && e.message == WM_ACTIVATEAPP) app = &e;
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->wParam, static_cast<WPARAM>(TRUE));
}

TEST_F(DesktopChanges, AClickOnAWindowThatWaitsForABoxActivatesTheBox) {
  HWND owner = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND box = CreateWindowExW(0, kRecordingClass, u"box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150,
                             150, 200, 100, owner, nullptr, nullptr, nullptr);
  EnableWindow(owner, FALSE);
  HWND other = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  pump();
  ASSERT_EQ(GetActiveWindow(), other);
  platform::InjectActivation(owner, true);
  pump();
  EXPECT_EQ(GetActiveWindow(), box);
  // Once more while the box is active: the driver is told to focus the box.
  display_->clearEvents();
  platform::InjectActivation(owner, true);
  pump();
  EXPECT_EQ(GetActiveWindow(), box);
  auto events = display_->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, platform::DisplayEvent::Kind::Activated);
  EXPECT_EQ(events[0].hwnd, box);
}

TEST_F(DesktopChanges, TheDriverHearsOfEveryActivation) {
  HWND a = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {200, 200, 400, 400});
  pump();
  display_->clearEvents();
  SetActiveWindow(a);
  platform::InjectActivation(b, true);
  pump();
  std::vector<HWND> activated;
  for (const auto& e : display_->events())
    if (e.kind == platform::DisplayEvent::Kind::Activated) activated.push_back(e.hwnd);
  EXPECT_THAT(activated, ElementsAre(a, b));
}

}  // namespace
}  // namespace windowing_test

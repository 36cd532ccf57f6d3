#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using Placement = WindowTest;

TEST_F(Placement, FrameAndCaptionMetricsShapeTheClientArea) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT insets;  // left, top, right, bottom
  };
  const Case cases[] = {
      {WS_OVERLAPPEDWINDOW, 0, {8, 31, 8, 8}},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {3, 26, 3, 3}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
      {WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 2, 2}},
      {WS_POPUP, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    RECT r{0, 0, 200, 100};
    AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
    EXPECT_EQ(r, (RECT{-c.insets.left, -c.insets.top, 200 + c.insets.right, 100 + c.insets.bottom}))
        << std::hex << c.style;
    HWND hwnd = CreateWindowExW(c.exStyle, kRecordingClass, u"", c.style, 50, 60, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client, (RECT{0, 0, 200, 100})) << std::hex << c.style;
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(origin.x, 50 + c.insets.left);
    EXPECT_EQ(origin.y, 60 + c.insets.top);
    DestroyWindow(hwnd);
  }
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 23);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
}

TEST_F(Placement, MoveWindowSendsPositionMessages) {
  HWND top = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND child = createChild(top, 1, {10, 20, 60, 70});
  log().clear();
  EXPECT_TRUE(MoveWindow(child, 30, 40, 100, 50, TRUE));
  EXPECT_THAT(messagesOf(child), ElementsAre(WM_WINDOWPOSCHANGING, WM_NCCALCSIZE,
                                             WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE));
  EXPECT_EQ(log()[3].lParam, MAKELPARAM(30, 40));
  EXPECT_EQ(log()[4].lParam, MAKELPARAM(100, 50));
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r, (RECT{30, 40, 130, 90}));
  log().clear();
  EXPECT_TRUE(SetWindowPos(child, nullptr, 35, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  EXPECT_THAT(messagesOf(child),
              ElementsAre(WM_WINDOWPOSCHANGING, WM_CHILDACTIVATE, WM_WINDOWPOSCHANGED, WM_MOVE));
  log().clear();
  EXPECT_TRUE(SetWindowPos(child, nullptr, 35, 40, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_TRUE(log().empty());  // no change, no messages
}

TEST_F(Placement, WindowPosChangingCanAdjustThePlacement) {
  HWND hwnd = createTop(WS_POPUP, {0, 0, 100, 100});
  answer() = [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 77;
    return std::nullopt;
  };
  MoveWindow(hwnd, 0, 0, 200, 200, TRUE);
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 77);
  EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(Placement, FirstShowOfAnOverlappedWindowSendsSizeAndMoveOnce) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW, {10, 10, 210, 160});
  log().clear();
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWNA));
  EXPECT_THAT(messagesOf(hwnd), ElementsAre(WM_SHOWWINDOW, WM_WINDOWPOSCHANGING,
                                            WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE));
  ShowWindow(hwnd, SW_HIDE);
  log().clear();
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWNA));
  EXPECT_THAT(messagesOf(hwnd),
              ElementsAre(WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED));
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(Placement, MaximizeAndRestore) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  ShowWindow(hwnd, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(hwnd));
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 1024);
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(hwnd));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r, (RECT{100, 100, 400, 300}));
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(hwnd));
}

TEST_F(Placement, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
  HWND top = createTop(WS_POPUP | WS_VISIBLE, {100, 100, 400, 400});
  HWND child = createChild(top, 1, {10, 10, 110, 110});
  HWND hidden = createChild(top, 2, {200, 200, 250, 250}, WS_CHILD);
  HWND disabled = createChild(top, 3, {150, 10, 190, 50}, WS_CHILD | WS_VISIBLE | WS_DISABLED);
  (void)hidden;
  (void)disabled;
  EXPECT_EQ(WindowFromPoint({120, 120}), child);
  EXPECT_EQ(WindowFromPoint({310, 310}), top);  // the hidden child is skipped
  EXPECT_EQ(WindowFromPoint({260, 120}), top);  // so is the disabled one
  EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);
  POINT p{120, 120};
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(ChildWindowFromPoint(top, {205, 205}), hidden);
}

TEST_F(Placement, DriverHearsAboutTopLevelWindows) {
  display_->clearEvents();
  HWND hwnd = createTop(WS_POPUP | WS_VISIBLE, {1, 2, 3, 4}, u"first");
  SetWindowTextW(hwnd, u"second");
  MoveWindow(hwnd, 10, 10, 50, 50, TRUE);
  ShowWindow(hwnd, SW_HIDE);
  DestroyWindow(hwnd);
  using Kind = platform::DisplayEvent::Kind;
  std::vector<Kind> kinds;
  for (const auto& e : display_->events()) {
    EXPECT_EQ(e.hwnd, hwnd);
    kinds.push_back(e.kind);
  }
  EXPECT_THAT(kinds, ElementsAre(Kind::Retitled, Kind::Activated, Kind::Shown, Kind::Retitled,
                                 Kind::Moved, Kind::Hidden, Kind::Destroyed));
  EXPECT_EQ(display_->events()[3].title, u"second");
  EXPECT_EQ(display_->events()[4].rect, (RECT{10, 10, 60, 60}));
}

}  // namespace
}  // namespace windowing_test

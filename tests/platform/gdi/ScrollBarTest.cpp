#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

using ScrollBarsApi = DrawingTest;

TEST_F(ScrollBarsApi, PositionStaysWithinRangeLessThePage) {
  HWND hwnd = canvas(100, 100, 0, 0, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
  struct Case {
    int min, max;
    UINT page;
    int pos;
    int expected;
  };
  const Case cases[] = {
      {0, 99, 10, 50, 50}, {0, 99, 10, 95, 90}, {0, 99, 0, 150, 99},
      {10, 20, 5, 0, 10},  {0, 9, 20, 5, 0},  // a page larger than the range
  };
  for (const Case& c : cases) {
    SCROLLINFO info{sizeof info, SIF_ALL, c.min, c.max, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &info, TRUE), c.expected);
    SCROLLINFO back{sizeof back, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &back));
    EXPECT_EQ(back.nPos, c.expected);
    EXPECT_LE(back.nPage, static_cast<UINT>(c.max - c.min + 1));
  }
}

TEST_F(ScrollBarsApi, RangeAndPositionFunctions) {
  HWND hwnd = canvas(100, 100, 0, 0, WS_POPUP | WS_VISIBLE | WS_HSCROLL);
  int low = -1, high = -1;
  GetScrollRange(hwnd, SB_HORZ, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 100);  // the default range
  SetScrollRange(hwnd, SB_HORZ, 5, 15, FALSE);
  EXPECT_EQ(SetScrollPos(hwnd, SB_HORZ, 12, TRUE), 5);
  EXPECT_EQ(GetScrollPos(hwnd, SB_HORZ), 12);
  EXPECT_EQ(GetScrollPos(hwnd, SB_CTL), 0);
}

TEST_F(ScrollBarsApi, ShowScrollBarChangesTheClientArea) {
  HWND hwnd = canvas(100, 100);
  RECT before;
  GetClientRect(hwnd, &before);
  EXPECT_TRUE(ShowScrollBar(hwnd, SB_VERT, TRUE));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
  RECT after;
  GetClientRect(hwnd, &after);
  EXPECT_EQ(after.right, before.right - GetSystemMetrics(SM_CXVSCROLL));
  ShowScrollBar(hwnd, SB_BOTH, FALSE);
  GetClientRect(hwnd, &after);
  EXPECT_EQ(after.right, before.right);
}

TEST_F(ScrollBarsApi, ArrowsDrawDisabledWhenNothingScrolls) {
  HWND hwnd = canvas(100, 100, 0, 0, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 99, 10, 0, 0};
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  pump();
  int x = 100 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  // The up arrow's glyph: dark when enabled.
  auto darkest = [&] {
    COLORREF darkest = RGB(255, 255, 255);
    for (int y = 2; y < 15; ++y)
      for (int dx = -3; dx <= 3; ++dx)
        darkest = std::min(darkest, pixelAt(hwnd, x + dx, y) & 0xFF);
    return darkest;
  };
  EXPECT_EQ(darkest(), 0u);
  EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_BOTH);
  pump();
  EXPECT_GT(darkest(), 0u);
}

}  // namespace
}  // namespace drawing_test

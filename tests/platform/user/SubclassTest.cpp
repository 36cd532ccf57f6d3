#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"

namespace windowing_test {
namespace {

using Subclassing = WindowTest;

// Three subclass procedures that note their passage and forward.
std::string g_trail;
WNDPROC g_previous[3];

template <int N>
LRESULT subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) g_trail += static_cast<char>('A' + N);
  return CallWindowProcW(g_previous[N], hwnd, message, wParam, lParam);
}

constexpr WNDPROC kProcs[] = {subclassProc<0>, subclassProc<1>, subclassProc<2>};

WNDPROC hook(HWND hwnd, int n) {
  g_previous[n] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kProcs[n])));
  return g_previous[n];
}

void unhook(HWND hwnd, int n) {
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous[n]));
}

TEST_F(Subclassing, ChainRunsNewestFirstAndReachesTheClassProcedure) {
  HWND hwnd = createTop();
  EXPECT_EQ(hook(hwnd, 0), &recordingProc);
  hook(hwnd, 1);
  hook(hwnd, 2);
  g_trail.clear();
  log().clear();
  SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(g_trail, "CBA");
  EXPECT_THAT(messagesOf(hwnd), ::testing::ElementsAre(WM_USER));
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(kProcs[2]));
  EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(&recordingProc));
}

TEST_F(Subclassing, UnhookingOutOfOrderKeepsDefinedChains) {
  struct Case {
    std::vector<int> unhookOrder;
    std::vector<std::string> trails;  // after each unhook
  };
  const Case cases[] = {
      {{2, 1, 0}, {"BA", "A", ""}},
      // Restoring A's predecessor drops B and C from the chain at once.
      {{0, 2, 1}, {"", "BA", "A"}},
      {{1, 0, 2}, {"A", "", "BA"}},
  };
  for (const Case& c : cases) {
    HWND hwnd = createTop();
    for (int n = 0; n < 3; ++n)
      hook(hwnd, n);
    for (size_t i = 0; i < c.unhookOrder.size(); ++i) {
      unhook(hwnd, c.unhookOrder[i]);
      g_trail.clear();
      SendMessageW(hwnd, WM_USER, 0, 0);
      EXPECT_EQ(g_trail, c.trails[i]) << "case starting " << c.unhookOrder[0] << ", step " << i;
    }
    DestroyWindow(hwnd);
  }
}

TEST_F(Subclassing, NullProcedureIsRefused) {
  HWND hwnd = createTop();
  EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&recordingProc));
  EXPECT_EQ(CallWindowProcW(nullptr, hwnd, WM_USER, 0, 0), 0);
}

}  // namespace
}  // namespace windowing_test

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "WindowTestSupport.h"
#include "platform/kernel.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using Timers = WindowTest;

// Dispatches what is waiting and answers the ids of the WM_TIMER messages.
std::vector<UINT_PTR> timerTicks() {
  std::vector<UINT_PTR> ticks;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) ticks.push_back(msg.wParam);
    DispatchMessageW(&msg);
  }
  return ticks;
}

TEST_F(Timers, FireAtTheirIntervalOnVirtualTime) {
  HWND hwnd = createTop();
  EXPECT_EQ(SetTimer(hwnd, 7, 100, nullptr), 7u);
  struct Step {
    uint64_t advance;
    size_t ticks;
  };
  // Ticks missed while the thread was busy merge into one.
  const Step steps[] = {{99, 0}, {1, 1}, {0, 0}, {100, 1}, {350, 1}, {49, 0}, {1, 1}};
  for (const Step& s : steps) {
    clock_.advance(s.advance);
    EXPECT_EQ(timerTicks().size(), s.ticks) << "at " << GetTickCount();
  }
  MSG msg;
  clock_.advance(100);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));   // same expiry
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));  // not twice
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Timers, SettingAnExistingIdRestartsIt) {
  HWND hwnd = createTop();
  SetTimer(hwnd, 1, 100, nullptr);
  clock_.advance(80);
  SetTimer(hwnd, 1, 100, nullptr);
  clock_.advance(80);
  EXPECT_TRUE(timerTicks().empty());
  clock_.advance(20);
  EXPECT_THAT(timerTicks(), ElementsAre(1u));
  SetTimer(hwnd, 1, 30, nullptr);  // a new interval
  clock_.advance(30);
  EXPECT_THAT(timerTicks(), ElementsAre(1u));
}

TEST_F(Timers, TimerKilledInItsOwnHandlerStops) {
  HWND hwnd = createTop();
  int fired = 0;
  answer() = [&](HWND h, UINT message, WPARAM id, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_TIMER) return std::nullopt;
    ++fired;
    KillTimer(h, id);
    return 0;
  };
  SetTimer(hwnd, 3, 10, nullptr);
  for (int i = 0; i < 5; ++i) {
    clock_.advance(10);
    timerTicks();
  }
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(KillTimer(hwnd, 3));
}

TEST_F(Timers, WindowTimersHaveIdsPerWindowAndDieWithTheWindow) {
  HWND a = createTop();
  HWND b = createTop();
  SetTimer(a, 1, 50, nullptr);
  SetTimer(b, 1, 70, nullptr);
  clock_.advance(70);
  std::vector<HWND> windows;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
    windows.push_back(msg.hwnd);
  EXPECT_THAT(windows, ElementsAre(a, b));  // in order of expiry
  DestroyWindow(a);
  clock_.advance(200);
  windows.clear();
  while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
    windows.push_back(msg.hwnd);
  EXPECT_THAT(windows, ElementsAre(b));
}

int g_procCalls = 0;
UINT_PTR g_procId = 0;
void CountingTimerProc(HWND, UINT message, UINT_PTR id, DWORD) {
  EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
  ++g_procCalls;
  g_procId = id;
}

TEST_F(Timers, ThreadTimerRunsItsProcedureThroughDispatch) {
  g_procCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 20, CountingTimerProc);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(SetTimer(nullptr, id, 40, CountingTimerProc), id);  // restarts the same timer
  clock_.advance(40);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(CountingTimerProc));
  DispatchMessageW(&msg);
  EXPECT_EQ(g_procCalls, 1);
  EXPECT_EQ(g_procId, id);
  EXPECT_TRUE(KillTimer(nullptr, id));
  DispatchMessageW(&msg);  // a killed timer's procedure is not called
  EXPECT_EQ(g_procCalls, 1);
}

TEST_F(Timers, AdvancingTheClockWakesAWaitingLoop) {
  HWND hwnd = createTop();
  SetTimer(hwnd, 9, 500, nullptr);
  std::thread advancer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    clock_.advance(500);
  });
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  advancer.join();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(Timers, OtherThreadsWindowsAndBadWindowsAreRefused) {
  HWND hwnd = createTop();
  UINT_PTR result = 1;
  std::thread other([&] { result = SetTimer(hwnd, 1, 10, nullptr); });
  other.join();
  EXPECT_EQ(result, 0u);
  DestroyWindow(hwnd);
  EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
}

}  // namespace
}  // namespace windowing_test

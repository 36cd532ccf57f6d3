// The message loop's costs: a posted message's round trip through the queue,
// sends on one thread and across threads, and timer dispatch.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/user.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kStop = WM_APP + 2;

LRESULT countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing || message == WM_TIMER) return 1;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND createWindow() {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = countingProc;
    wc.lpszClassName = u"MessageLoopBench";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"MessageLoopBench", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         nullptr, nullptr);
}

void BM_PostedMessageRoundTrip(benchmark::State& state) {
  HWND hwnd = createWindow();
  MSG msg;
  for (auto _ : state) {
    PostMessageW(hwnd, kPing, 0, 0);
    GetMessageW(&msg, nullptr, 0, 0);
    benchmark::DoNotOptimize(DispatchMessageW(&msg));
  }
  DestroyWindow(hwnd);
}
BENCHMARK(BM_PostedMessageRoundTrip);

// Another thread posts; this thread sleeps in GetMessageW until woken.
void BM_CrossThreadPostWake(benchmark::State& state) {
  HWND hwnd = createWindow();
  DWORD uiThread = GetCurrentThreadId();
  std::atomic<bool> running{true};
  std::atomic<int> pending{0};
  std::thread poster([&] {
    while (running) {
      if (pending.load(std::memory_order_acquire) == 0) {
        pending.store(1, std::memory_order_release);
        PostMessageW(hwnd, kPing, 0, 0);
      }
    }
    PostThreadMessageW(uiThread, kStop, 0, 0);
  });
  MSG msg;
  for (auto _ : state) {
    GetMessageW(&msg, nullptr, 0, 0);
    DispatchMessageW(&msg);
    pending.store(0, std::memory_order_release);
  }
  running = false;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kStop) {
  }
  poster.join();
  DestroyWindow(hwnd);
}
BENCHMARK(BM_CrossThreadPostWake)->UseRealTime();

void BM_SendMessageSameThread(benchmark::State& state) {
  HWND hwnd = createWindow();
  for (auto _ : state)
    benchmark::DoNotOptimize(SendMessageW(hwnd, kPing, 0, 0));
  DestroyWindow(hwnd);
}
BENCHMARK(BM_SendMessageSameThread);

// A send from another thread, answered by this window's thread in its loop.
void BM_CrossThreadSendMessage(benchmark::State& state) {
  std::atomic<HWND> hwnd{nullptr};
  std::atomic<bool> done{false};
  std::thread owner([&] {
    hwnd = createWindow();
    MSG msg;
    while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0)
      DispatchMessageW(&msg);
    DestroyWindow(hwnd);
  });
  while (!hwnd)
    std::this_thread::yield();
  for (auto _ : state)
    benchmark::DoNotOptimize(SendMessageW(hwnd, kPing, 0, 0));
  done = true;
  PostMessageW(hwnd, WM_NULL, 0, 0);
  owner.join();
}
BENCHMARK(BM_CrossThreadSendMessage)->UseRealTime();

// One WM_TIMER per period of virtual time: generated, retrieved, dispatched.
void BM_TimerDispatch(benchmark::State& state) {
  platform::ScopedVirtualClock clock;
  HWND hwnd = createWindow();
  SetTimer(hwnd, 1, 10, nullptr);
  MSG msg;
  for (auto _ : state) {
    clock.advance(10);
    GetMessageW(&msg, nullptr, 0, 0);
    benchmark::DoNotOptimize(DispatchMessageW(&msg));
  }
  DestroyWindow(hwnd);
}
BENCHMARK(BM_TimerDispatch);

// An idle loop: GetMessageW sleeps until a post arrives 200 ms later. The CPU
// column is what the waiting thread spent; it should be near zero.
void BM_IdleWaitCpu(benchmark::State& state) {
  HWND hwnd = createWindow();
  MSG msg;
  for (auto _ : state) {
    std::thread poster([hwnd] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      PostMessageW(hwnd, kPing, 0, 0);
    });
    GetMessageW(&msg, nullptr, 0, 0);
    poster.join();
  }
  DestroyWindow(hwnd);
}
BENCHMARK(BM_IdleWaitCpu)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "WindowTestSupport.h"
#include "platform/kernel.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using MessageQueue = WindowTest;

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kPong = WM_APP + 2;

TEST_F(MessageQueue, RetrievalOrderIsSentPostedQuitInputPaintTimer) {
  HWND hwnd = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  SetForegroundWindow(hwnd);
  drainQueue();
  log().clear();
  SetTimer(hwnd, 1, 50, nullptr);
  clock_.advance(50);
  InvalidateRect(hwnd, nullptr, TRUE);
  platform::InjectKey('A', true);
  PostQuitMessage(3);
  PostMessageW(hwnd, kPing, 1, 0);
  PostMessageW(hwnd, kPing, 2, 0);
  std::thread sender([hwnd] { SendMessageW(hwnd, kPong, 0, 0); });
  while (!(GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE))
    std::this_thread::yield();

  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    if (msg.message == WM_PAINT) ValidateRect(hwnd, nullptr);
  }
  sender.join();
  EXPECT_THAT(messagesOf(hwnd), ElementsAre(kPong));  // ran inside the first PeekMessageW
  EXPECT_THAT(order, ElementsAre(kPing, kPing, WM_QUIT, WM_KEYDOWN, WM_PAINT, WM_TIMER));
  platform::InjectKey('A', false);
  drainQueue();
}

TEST_F(MessageQueue, PeekFiltersByWindowAndRange) {
  HWND a = createTop();
  HWND child = createChild(a, 1);
  HWND b = createTop();
  PostMessageW(b, kPing, 0, 0);
  PostMessageW(child, kPong, 0, 0);
  PostMessageW(nullptr, kPing, 9, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, a, 0, 0, PM_NOREMOVE));  // a's children count as a's
  EXPECT_EQ(msg.hwnd, child);
  ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.wParam, 9u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, kPong, kPong, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, child);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  HWND gone = createTop();
  DestroyWindow(gone);
  EXPECT_EQ(GetMessageW(&msg, gone, 0, 0), -1);
}

TEST_F(MessageQueue, PostedQueueIsCappedAtTenThousand) {
  HWND hwnd = createTop();
  int accepted = 0;
  for (int i = 0; i < 10'050; ++i)
    accepted += PostMessageW(hwnd, kPing, i, 0) ? 1 : 0;
  EXPECT_EQ(accepted, 10'000);
  EXPECT_FALSE(PostMessageW(hwnd, kPing, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
  EXPECT_EQ(pump(), 10'000);
  EXPECT_TRUE(PostMessageW(hwnd, kPing, 0, 0));
}

TEST_F(MessageQueue, DestroyedWindowsTakeTheirPostedMessagesAlong) {
  HWND a = createTop();
  HWND b = createTop();
  PostMessageW(a, kPing, 0, 0);
  PostMessageW(b, kPing, 0, 0);
  DestroyWindow(a);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, SendMessageIsReentrant) {
  HWND hwnd = createTop();
  std::vector<int> depths;
  answer() = [&](HWND h, UINT message, WPARAM depth, LPARAM) -> std::optional<LRESULT> {
    if (message != kPing) return std::nullopt;
    depths.push_back(static_cast<int>(depth));
    if (depth < 3) return 1 + SendMessageW(h, kPing, depth + 1, 0);
    return 100;
  };
  EXPECT_EQ(SendMessageW(hwnd, kPing, 0, 0), 103);
  EXPECT_THAT(depths, ElementsAre(0, 1, 2, 3));
}

TEST_F(MessageQueue, CrossThreadSendWaitsForTheOwnerThreadsReply) {
  HWND hwnd = createTop();
  std::atomic<DWORD> handledOn{0};
  answer() = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != kPing) return std::nullopt;
    handledOn = GetCurrentThreadId();
    return static_cast<LRESULT>(wParam * 2);
  };
  std::atomic<LRESULT> reply{0};
  std::thread worker([&] { reply = SendMessageW(hwnd, kPing, 21, 0); });
  // This thread's GetMessageW runs the send; the posted nulls end each wait.
  MSG msg;
  while (reply.load() == 0) {
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    GetMessageW(&msg, nullptr, 0, 0);
  }
  worker.join();
  EXPECT_EQ(reply.load(), 42);
  EXPECT_EQ(handledOn.load(), GetCurrentThreadId());
}

TEST_F(MessageQueue, SendsBetweenTwoThreadsCanNest) {
  HWND mine = createTop();
  HWND theirs = nullptr;
  std::atomic<bool> ready{false}, done{false};
  std::thread other([&] {
    theirs = CreateWindowExW(0, kRecordingClass, u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
    ready = true;
    MSG msg;
    while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0)
      DispatchMessageW(&msg);
    DestroyWindow(theirs);
  });
  while (!ready)
    std::this_thread::yield();
  // theirs answers kPing by sending kPong back to mine while this thread waits.
  answer() = [&](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == kPing && h == theirs) return 1 + SendMessageW(mine, kPong, 0, 0);
    if (message == kPong && h == mine) return 10;
    return std::nullopt;
  };
  EXPECT_EQ(SendMessageW(theirs, kPing, 0, 0), 11);
  done = true;
  PostMessageW(theirs, WM_NULL, 0, 0);
  other.join();
  answer() = nullptr;
}

TEST_F(MessageQueue, PostFromAnotherThreadWakesABlockedGetMessage) {
  HWND hwnd = createTop();
  std::thread poster([hwnd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessageW(hwnd, kPing, 7, 0);
  });
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  poster.join();
  EXPECT_EQ(msg.message, kPing);
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageQueue, ManyThreadsPostingWhileTheLoopRuns) {
  HWND hwnd = createTop();
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([hwnd] {
      for (int i = 0; i < kEach; ++i) {
        while (!PostMessageW(hwnd, kPing, 0, 0))
          std::this_thread::yield();
      }
    });
  }
  int received = 0;
  MSG msg;
  while (received < kThreads * kEach && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kPing) ++received;
  }
  for (auto& t : posters)
    t.join();
  EXPECT_EQ(received, kThreads * kEach);
}

TEST_F(MessageQueue, QuitEndsGetMessageWithItsCode) {
  PostQuitMessage(17);
  MSG msg;
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 17u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // quit is taken once
  EXPECT_FALSE(PostThreadMessageW(0xFFFFFFF0u, kPing, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

TEST_F(MessageQueue, PaintIsGeneratedUntilValidated) {
  HWND hwnd = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  drainQueue();
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  RECT part{10, 10, 20, 20};
  InvalidateRect(hwnd, &part, TRUE);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update, part);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // still not validated
  DispatchMessageW(&msg);                                     // the default procedure validates
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));

  InvalidateRect(hwnd, nullptr, TRUE);
  log().clear();
  UpdateWindow(hwnd);
  // The default painting erases the background first (BeginPaint).
  EXPECT_THAT(messagesOf(hwnd), ElementsAre(WM_PAINT, WM_ERASEBKGND));
  ShowWindow(hwnd, SW_HIDE);
  InvalidateRect(hwnd, nullptr, TRUE);  // a hidden window has nothing to paint
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, TranslateMessageMakesCharactersOfCharacterKeys) {
  HWND hwnd = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  struct Case {
    int vk;
    bool shift;
    std::vector<WPARAM> chars;
  };
  const Case cases[] = {{'A', false, {u'a'}}, {'A', true, {u'A'}},
                        {'1', true, {u'!'}},  {VK_RETURN, false, {u'\r'}},
                        {VK_LEFT, false, {}}, {VK_OEM_2, false, {u'/'}}};
  for (const Case& c : cases) {
    drainQueue();
    if (c.shift) platform::InjectKey(VK_SHIFT, true);
    platform::InjectKey(c.vk, true);
    platform::InjectKey(c.vk, false);
    if (c.shift) platform::InjectKey(VK_SHIFT, false);
    std::vector<WPARAM> chars;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      EXPECT_EQ(msg.hwnd, hwnd);
      if (msg.message == WM_CHAR) chars.push_back(msg.wParam);
      TranslateMessage(&msg);
    }
    EXPECT_EQ(chars, c.chars) << c.vk;
  }
}

TEST_F(MessageQueue, MsgWaitOnVirtualTimeMovesToTheNextTimer) {
  HWND hwnd = createTop();
  SetTimer(hwnd, 5, 300, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_EQ(GetTickCount(), 1100u);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(GetTickCount(), 1300u);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
}

}  // namespace
}  // namespace windowing_test

namespace windowing_test {
namespace {

TEST_F(MessageQueue, SendTimeoutGivesUpAndTheLateReplyIsHarmless) {
  std::atomic<HWND> theirs{nullptr};
  std::atomic<bool> pumpNow{false};
  std::thread owner([&] {
    theirs = CreateWindowExW(0, kRecordingClass, u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
    while (!pumpNow)
      std::this_thread::yield();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
    DestroyWindow(theirs);
  });
  while (!theirs)
    std::this_thread::yield();
  std::thread advancer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    clock_.advance(100);
  });
  DWORD_PTR result = 99;
  EXPECT_FALSE(SendMessageTimeoutW(theirs, kPing, 0, 0, SMTO_NORMAL, 100, &result));
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  advancer.join();
  pumpNow = true;  // the owner now answers a send nobody waits for
  owner.join();
}

TEST_F(MessageQueue, AThreadsWindowsEndWithTheThread) {
  HWND theirs = nullptr;
  std::thread owner([&] {
    theirs = CreateWindowExW(0, kRecordingClass, u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
  });
  owner.join();
  ASSERT_TRUE(theirs);
  EXPECT_FALSE(IsWindow(theirs));
  EXPECT_FALSE(PostMessageW(theirs, kPing, 0, 0));
  EXPECT_EQ(SendMessageW(theirs, kPing, 0, 0), 0);
}

TEST_F(MessageQueue, PeekMessageAGivesCodePageCharacters) {
  PostMessageW(nullptr, WM_CHAR, u'é', 0);
  PostMessageW(nullptr, WM_CHAR, 0x20AC, 0);  // the euro sign is 0x80 in code page 1252
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0xE9u);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0x80u);
}

}  // namespace
}  // namespace windowing_test

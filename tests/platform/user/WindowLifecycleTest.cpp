#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "WindowTestSupport.h"
#include "platform/kernel.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using WindowLifecycle = WindowTest;

TEST_F(WindowLifecycle, HiddenTopLevelCreationOrder) {
  HWND hwnd = createTop();
  ASSERT_TRUE(hwnd);
  EXPECT_THAT(messagesOf(hwnd),
              ElementsAre(WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE));
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(WindowLifecycle, VisibleTopLevelIsShownAndActivatedAfterCreate) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_TRUE(hwnd);
  EXPECT_THAT(messagesOf(hwnd),
              ElementsAre(WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SHOWWINDOW,
                          WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE,
                          WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE));
  EXPECT_EQ(GetActiveWindow(), hwnd);
  EXPECT_EQ(GetForegroundWindow(), hwnd);
  EXPECT_EQ(GetFocus(), hwnd);
}

TEST_F(WindowLifecycle, ChildCreationNotifiesParentAfterCreate) {
  HWND parent = createTop();
  log().clear();
  HWND child = createChild(parent, 7);
  ASSERT_TRUE(child);
  // The parent is hidden: the child is only told it shows.
  EXPECT_THAT(messagesOf(child),
              ElementsAre(WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW));
  ASSERT_THAT(messagesOf(parent), ElementsAre(WM_PARENTNOTIFY));
  const Logged& notify = log()[5];
  EXPECT_EQ(notify.hwnd, parent);
  EXPECT_EQ(notify.wParam, MAKEWPARAM(WM_CREATE, 7));
  EXPECT_EQ(notify.lParam, reinterpret_cast<LPARAM>(child));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(parent, 7), child);
}

TEST_F(WindowLifecycle, NoParentNotifyStyleSilencesTheParent) {
  HWND parent = createTop();
  log().clear();
  HWND child = CreateWindowExW(WS_EX_NOPARENTNOTIFY, kRecordingClass, u"", WS_CHILD, 0, 0, 10, 10,
                               parent, nullptr, nullptr, nullptr);
  ASSERT_TRUE(child);
  DestroyWindow(child);
  EXPECT_TRUE(messagesOf(parent).empty());
}

TEST_F(WindowLifecycle, CreationParametersReachNcCreateAndCreate) {
  int marker = 42;
  std::vector<CREATESTRUCTW> seen;
  answer() = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_NCCREATE || message == WM_CREATE) {
      seen.push_back(*reinterpret_cast<CREATESTRUCTW*>(lParam));
    }
    return std::nullopt;
  };
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kRecordingClass, u"Caption", WS_POPUP | WS_VISIBLE,
                              5, 6, 70, 80, nullptr, nullptr, nullptr, &marker);
  ASSERT_TRUE(hwnd);
  ASSERT_EQ(seen.size(), 2u);
  for (const CREATESTRUCTW& cs : seen) {
    EXPECT_EQ(cs.lpCreateParams, &marker);
    EXPECT_EQ(static_cast<DWORD>(cs.style), WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(cs.dwExStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(std::u16string(cs.lpszName), u"Caption");
    EXPECT_EQ(cs.x, 5);
    EXPECT_EQ(cs.cy, 80);
  }
  WCHAR text[32];
  EXPECT_EQ(GetWindowTextW(hwnd, text, 32), 7);
  EXPECT_EQ(std::u16string(text), u"Caption");
}

TEST_F(WindowLifecycle, FailingCreationMessagesDestroyTheWindow) {
  struct Case {
    UINT message;
    LRESULT answer;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE,
       -1,
       {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    log().clear();
    answer() = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == c.message) return c.answer;
      return std::nullopt;
    };
    EXPECT_EQ(createTop(), nullptr);
    HWND attempted = log().front().hwnd;
    EXPECT_THAT(messagesOf(attempted), ElementsAreArray(c.expected));
    EXPECT_FALSE(IsWindow(attempted));
  }
}

TEST_F(WindowLifecycle, DestroySendsDestroyParentFirstAndNcDestroyParentLast) {
  HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND a = createChild(top, 1);
  HWND a1 = createChild(a, 11);
  HWND b = createChild(top, 2);
  log().clear();
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& e : log()) {
    if (e.message == WM_DESTROY || e.message == WM_NCDESTROY) order.emplace_back(e.hwnd, e.message);
  }
  // Children are listed topmost first: b was created last.
  std::vector<std::pair<HWND, UINT>> expected{
      {top, WM_DESTROY}, {b, WM_DESTROY},    {a, WM_DESTROY},   {a1, WM_DESTROY},
      {b, WM_NCDESTROY}, {a1, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(log().back().hwnd, top);
  EXPECT_EQ(log().back().message, WM_NCDESTROY);
  for (HWND h : {top, a, a1, b})
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowLifecycle, DestroyingAChildTellsTheParentFirst) {
  HWND top = createTop();
  HWND child = createChild(top, 3);
  log().clear();
  DestroyWindow(child);
  EXPECT_THAT(messagesOf(nullptr, {WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY}),
              ElementsAre(WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY));
  EXPECT_EQ(log().front().hwnd, top);
  EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(WindowLifecycle, OwnedWindowsAreDestroyedWithTheirOwner) {
  HWND owner = createTop();
  HWND owned = CreateWindowExW(0, kRecordingClass, u"owned", WS_POPUP, 0, 0, 10, 10, owner, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);  // a popup's "parent" is its owner
  EXPECT_EQ(GetAncestor(owned, GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(IsChild(owner, owned));
  log().clear();
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_EQ(log().front().hwnd, owned);  // the owned window goes first
}

TEST_F(WindowLifecycle, WindowDestroyedInsideItsOwnHandlerIsSafe) {
  HWND hwnd = createTop();
  answer() = [](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_USER) {
      DestroyWindow(h);
      EXPECT_FALSE(IsWindow(h));
      return 5;
    }
    return std::nullopt;
  };
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 5);
  EXPECT_FALSE(IsWindow(hwnd));
  ASSERT_TRUE(PostMessageW(createTop(), WM_USER, 0, 0));
  pump();  // the posted WM_USER destroys the second window during dispatch
}

TEST_F(WindowLifecycle, StaleHandlesFailWithInvalidWindowHandle) {
  HWND hwnd = createTop();
  DestroyWindow(hwnd);
  SetLastError(0);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(DestroyWindow(hwnd));
  EXPECT_FALSE(SetWindowTextW(hwnd, u"x"));
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE), 0);
  // A new window never takes the handle of a destroyed one.
  for (int i = 0; i < 50; ++i) {
    HWND fresh = createTop();
    EXPECT_NE(fresh, hwnd);
    DestroyWindow(fresh);
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowLifecycle, HandlesSpreadOverBitsFourToNineteen) {
  std::set<uintptr_t> buckets;
  std::vector<HWND> windows;
  for (int i = 0; i < 64; ++i)
    windows.push_back(createTop(WS_POPUP));
  for (HWND h : windows) {
    auto value = reinterpret_cast<uintptr_t>(h);
    EXPECT_EQ(value & 0xF, 0u);
    EXPECT_LT(value, 0x80000000u);
    buckets.insert((value >> 4) & 0xFFFF);
  }
  EXPECT_EQ(buckets.size(), windows.size());
}

TEST_F(WindowLifecycle, ChildWithoutParentIsRefused) {
  EXPECT_EQ(CreateWindowExW(0, kRecordingClass, u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(WindowLifecycle, TextGoesThroughSetTextAndGetText) {
  HWND hwnd = createTop();
  log().clear();
  EXPECT_TRUE(SetWindowTextW(hwnd, u"Hello"));
  EXPECT_EQ(GetWindowTextLengthW(hwnd), 5);
  WCHAR small[4];
  EXPECT_EQ(GetWindowTextW(hwnd, small, 4), 3);
  EXPECT_EQ(std::u16string(small), u"Hel");
  EXPECT_THAT(messagesOf(hwnd), ElementsAre(WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT));
  EXPECT_TRUE(SetWindowTextW(hwnd, nullptr));
  EXPECT_EQ(GetWindowTextLengthW(hwnd), 0);
}

TEST_F(WindowLifecycle, DefaultCloseAndSystemCloseDestroy) {
  HWND a = createTop();
  SendMessageW(a, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(a));
  HWND b = createTop();
  log().clear();
  SendMessageW(b, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(messagesOf(b)[1], WM_CLOSE);
}

TEST_F(WindowLifecycle, WindowLongsAndExtraBytes) {
  HWND top = createTop();
  HWND child = createChild(top, 9);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)), WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_ID), 9);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(top));
  EXPECT_EQ(SetWindowLongPtrW(child, GWLP_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_USERDATA), 1234);
  EXPECT_EQ(SetWindowLongPtrW(child, 8, 0x1122334455667788), 0);
  EXPECT_EQ(GetWindowLongPtrW(child, 8), 0x1122334455667788);
  EXPECT_EQ(GetWindowLongW(child, 8), 0x55667788);
  EXPECT_EQ(GetWindowLongPtrW(child, 12), 0);  // past the 16 extra bytes
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  EXPECT_EQ(GetWindowLongW(child, GWLP_WNDPROC), 0);  // a pointer does not fit a LONG
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

  log().clear();
  SetWindowLongW(child, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_THAT(messagesOf(child), ElementsAre(WM_STYLECHANGING, WM_STYLECHANGED));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & WS_TABSTOP, WS_TABSTOP);

  HWND other = createTop(WS_POPUP);
  SetWindowLongPtrW(other, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(top));
  EXPECT_EQ(GetWindow(other, GW_OWNER), top);
}

TEST_F(WindowLifecycle, RelationsAndAncestors) {
  HWND top = createTop();
  HWND child = createChild(top, 1);
  HWND grandchild = createChild(child, 2);
  EXPECT_EQ(GetParent(grandchild), child);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(IsChild(top, grandchild));
  EXPECT_FALSE(IsChild(grandchild, top));
  EXPECT_EQ(GetWindow(top, GW_CHILD), child);
  HWND second = createChild(top, 3);
  EXPECT_EQ(GetWindow(top, GW_CHILD), second);  // new windows go on top
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), child);
  EXPECT_EQ(GetWindow(child, GW_HWNDPREV), second);
  EXPECT_TRUE(IsWindowUnicode(top));
  EXPECT_EQ(SetParent(grandchild, second), child);
  EXPECT_EQ(GetParent(grandchild), second);
}

}  // namespace
}  // namespace windowing_test

namespace windowing_test {
namespace {

using ReentrantDestruction = WindowTest;

// Windows destroyed from inside the handlers of their own life cycle: the
// operation in progress finishes without touching the destroyed windows.
TEST_F(ReentrantDestruction, DestroyingFromInsideHandlersIsDefined) {
  struct Case {
    const char* name;
    UINT trigger;        // the message whose handler destroys
    bool destroyParent;  // destroy the top window rather than the receiver
    std::function<void(HWND top, HWND child)> action;
  };
  const Case cases[] = {
      {"child destroyed in the parent's WM_DESTROY", WM_DESTROY, false,
       [](HWND top, HWND) { DestroyWindow(top); }},
      {"parent destroyed again in the child's WM_DESTROY", WM_DESTROY, true,
       [](HWND top, HWND) { DestroyWindow(top); }},
      {"self destroyed in WM_NCDESTROY", WM_NCDESTROY, false,
       [](HWND top, HWND) { DestroyWindow(top); }},
      {"self destroyed in WM_KILLFOCUS", WM_KILLFOCUS, false,
       [](HWND top, HWND child) {
         SetFocus(child);
         HWND other = CreateWindowExW(0, kRecordingClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5,
                                      top, nullptr, nullptr, nullptr);
         SetFocus(other);
         EXPECT_EQ(GetFocus(), other);
       }},
      {"self destroyed in WM_WINDOWPOSCHANGING", WM_WINDOWPOSCHANGING, false,
       [](HWND, HWND child) { EXPECT_TRUE(ShowWindow(child, SW_HIDE)); }},
      {"self destroyed in WM_SHOWWINDOW", WM_SHOWWINDOW, false,
       [](HWND, HWND child) { ShowWindow(child, SW_HIDE); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = createChild(top, 1);
    HWND target = c.destroyParent ? top : child;
    UINT trigger = c.trigger;
    answer() = [=](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (h == child && message == trigger) DestroyWindow(target);
      return std::nullopt;
    };
    c.action(top, child);
    answer() = nullptr;
    EXPECT_FALSE(IsWindow(child));
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(top));
  }
}

TEST_F(ReentrantDestruction, WindowDestroyedInWmCreateIsNotReturned) {
  answer() = [](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CREATE) DestroyWindow(h);
    return std::nullopt;
  };
  EXPECT_EQ(createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE), nullptr);
  EXPECT_THAT(messagesOf(nullptr, {WM_DESTROY, WM_NCDESTROY}),
              ElementsAre(WM_DESTROY, WM_NCDESTROY));
}

}  // namespace
}  // namespace windowing_test

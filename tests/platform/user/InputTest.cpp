#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/gdi.h"

namespace windowing_test {
namespace {

using ::testing::ElementsAre;
using Input = WindowTest;

// Dispatches what is waiting; answers the messages taken from the queue.
std::vector<MSG> takeAll() {
  std::vector<MSG> taken;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return taken;
}

std::vector<UINT> numbers(const std::vector<MSG>& messages) {
  std::vector<UINT> out;
  for (const MSG& m : messages)
    out.push_back(m.message);
  return out;
}

TEST_F(Input, ClickHitTestsAndActivatesTheWindowUnderThePointer) {
  HWND back = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  HWND front = createTop(WS_POPUP | WS_VISIBLE, {500, 0, 700, 200});
  HWND button = createChild(back, 1, {10, 10, 110, 60});
  ASSERT_EQ(GetActiveWindow(), front);
  drainQueue();
  log().clear();
  display_->click(30, 40);
  std::vector<MSG> taken = takeAll();
  EXPECT_THAT(numbers(taken), ElementsAre(WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP));
  EXPECT_EQ(taken[1].hwnd, button);
  EXPECT_EQ(taken[1].lParam, MAKELPARAM(20, 30));  // client coordinates of the button
  EXPECT_EQ(taken[1].wParam, MK_LBUTTON);
  EXPECT_EQ(taken[1].pt.x, 30);
  EXPECT_THAT(messagesOf(button, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_LBUTTONDOWN}),
              ElementsAre(WM_NCHITTEST, WM_SETCURSOR, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE,
                          WM_LBUTTONDOWN, WM_NCHITTEST, WM_SETCURSOR));
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  // The parent hears of the press first, in its own client coordinates.
  EXPECT_THAT(messagesOf(back, {WM_PARENTNOTIFY, WM_ACTIVATE}),
              ElementsAre(WM_PARENTNOTIFY, WM_ACTIVATE));
  const Logged& notify = *std::find_if(log().begin(), log().end(), [&](const Logged& e) {
    return e.hwnd == back && e.message == WM_PARENTNOTIFY;
  });
  EXPECT_EQ(notify.wParam, MAKEWPARAM(WM_LBUTTONDOWN, 0));
  EXPECT_EQ(notify.lParam, MAKELPARAM(30, 40));
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 30);
}

TEST_F(Input, MouseActivateCanEatTheClick) {
  HWND back = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  createTop(WS_POPUP | WS_VISIBLE, {500, 0, 700, 200});
  answer() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_MOUSEACTIVATE) return MA_ACTIVATEANDEAT;
    return std::nullopt;
  };
  drainQueue();
  platform::InjectMouseMove({50, 50});
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  EXPECT_THAT(numbers(takeAll()), ElementsAre(WM_MOUSEMOVE));
  EXPECT_EQ(GetActiveWindow(), back);
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  takeAll();
}

TEST_F(Input, CaptureTakesThePointerOutsideTheWindow) {
  HWND a = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND b = createTop(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
  SetCapture(a);
  drainQueue();
  platform::InjectMouseMove({250, 50});
  std::vector<MSG> taken = takeAll();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].hwnd, a);
  EXPECT_EQ(taken[0].lParam, MAKELPARAM(250, 50));
  ReleaseCapture();
  platform::InjectMouseMove({251, 50});
  taken = takeAll();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].hwnd, b);
}

TEST_F(Input, NonClientAreaGetsNonClientMessages) {
  HWND hwnd = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  drainQueue();
  platform::InjectMouseMove({200, 110});  // in the caption
  std::vector<MSG> taken = takeAll();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_NCMOUSEMOVE));
  EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(taken[0].hwnd, hwnd);
}

TEST_F(Input, SecondClickWithinTheTimeIsADoubleClick) {
  createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  drainQueue();
  display_->click(10, 10);
  clock_.advance(200);
  display_->click(11, 10);
  clock_.advance(600);
  display_->click(11, 10);
  EXPECT_THAT(numbers(takeAll()),
              ElementsAre(WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE,
                          WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP));
}

TEST_F(Input, KeysGoToTheFocusAndKeyStateFollowsRetrieval) {
  HWND top = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = createChild(top, 1);
  SetFocus(edit);
  drainQueue();
  platform::InjectKey(VK_SHIFT, true);
  platform::InjectKey('Q', true);
  EXPECT_LT(GetAsyncKeyState('Q'), 0);  // as the input arrives
  EXPECT_GE(GetKeyState('Q'), 0);       // only once the thread has taken it
  std::vector<MSG> taken = takeAll();
  EXPECT_LT(GetKeyState('Q'), 0);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  ASSERT_THAT(numbers(taken), ElementsAre(WM_KEYDOWN, WM_KEYDOWN, WM_CHAR));
  EXPECT_EQ(taken[1].hwnd, edit);
  EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>('Q'));
  EXPECT_EQ(HIWORD(taken[1].lParam) & 0xFF, 0x10u);  // scan code of Q
  EXPECT_EQ(taken[2].wParam, static_cast<WPARAM>(u'Q'));
  platform::InjectKey('Q', false);
  platform::InjectKey(VK_SHIFT, false);
  taken = takeAll();
  EXPECT_THAT(numbers(taken), ElementsAre(WM_KEYUP, WM_KEYUP));
  EXPECT_TRUE(taken[0].lParam & (1 << 30));  // the key was down
  EXPECT_GE(GetKeyState('Q'), 0);
  display_->typeText(u"hé");
  taken = takeAll();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(u'é'));
}

TEST_F(Input, AltKeysAreSystemKeysAndAltF4Closes) {
  HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  drainQueue();
  platform::InjectKey(VK_MENU, true);
  display_->pressKey(VK_F4);
  platform::InjectKey(VK_MENU, false);
  std::vector<MSG> taken = takeAll();
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(Input, DisplayResolutionAndScreenSize) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  HWND hwnd = createTop();
  log().clear();
  display_->changeDisplay({1920, 1080}, 120);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 120);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1920);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 29);  // scaled with the resolution
  ASSERT_THAT(messagesOf(hwnd), ElementsAre(WM_DISPLAYCHANGE));
  EXPECT_EQ(log()[0].lParam, MAKELPARAM(1920, 1080));
}

}  // namespace
}  // namespace windowing_test

namespace windowing_test {
namespace {

TEST_F(Input, WheelGoesToTheFocusAndBubblesToTheParent) {
  HWND top = createTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = createChild(top, 1);
  SetFocus(child);
  drainQueue();
  log().clear();
  platform::InjectMouseWheel(-WHEEL_DELTA, false);
  pump();
  ASSERT_THAT(messagesOf(nullptr, {WM_MOUSEWHEEL}), ElementsAre(WM_MOUSEWHEEL, WM_MOUSEWHEEL));
  EXPECT_EQ(log()[0].hwnd, child);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(log()[0].wParam), -WHEEL_DELTA);
  EXPECT_EQ(log()[1].hwnd, top);  // the default procedure passes it up
}

}  // namespace
}  // namespace windowing_test

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

std::vector<WPARAM>& commands() {
  static std::vector<WPARAM> seen;
  return seen;
}

LRESULT frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) commands().push_back(wParam & 0xFFF0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Frames : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    commands().clear();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = frameProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = u"FrameTestWindow";
    RegisterClassExW(&wc);
  }

  HWND framed(DWORD style, RECT r = {100, 100, 400, 300}) {
    HWND hwnd =
        CreateWindowExW(0, u"FrameTestWindow", u"Framed", style | WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    pump();
    return hwnd;
  }

  // The middle of a caption part, found by hit-testing along the caption.
  static POINT findPart(HWND hwnd, LRESULT part) {
    RECT window;
    GetWindowRect(hwnd, &window);
    int y = window.top + 12;
    for (int x = window.right - 1; x > window.left; --x) {
      if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) return POINT{x - 6, y};
    }
    return POINT{-1, -1};
  }
};

TEST_F(Frames, CaptionPartsAreHitTested) {
  HWND hwnd = framed(WS_OVERLAPPEDWINDOW);
  RECT window;
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 100, window.top + 15)),
            HTCAPTION);
  EXPECT_NE(findPart(hwnd, HTCLOSE).x, -1);
  EXPECT_NE(findPart(hwnd, HTMAXBUTTON).x, -1);
  EXPECT_NE(findPart(hwnd, HTMINBUTTON).x, -1);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 20, window.top + 15)),
            HTSYSMENU);
  HWND dialog = framed(WS_CAPTION | WS_SYSMENU, {500, 100, 700, 200});
  EXPECT_EQ(findPart(dialog, HTMAXBUTTON).x, -1);
}

TEST_F(Frames, ClickOnTheCloseBoxSendsScClose) {
  HWND hwnd = framed(WS_OVERLAPPEDWINDOW);
  POINT close = findPart(hwnd, HTCLOSE);
  display_->click(close.x, close.y);
  pump();
  EXPECT_THAT(commands(), ::testing::ElementsAre(SC_CLOSE));
  EXPECT_FALSE(IsWindow(hwnd));  // the default processing closes the window
}

TEST_F(Frames, CloseBoxReleasedElsewhereDoesNothing) {
  HWND hwnd = framed(WS_OVERLAPPEDWINDOW);
  POINT close = findPart(hwnd, HTCLOSE);
  platform::InjectMouseMove(close);
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  platform::InjectMouseMove(POINT{close.x - 150, close.y + 60});
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  EXPECT_TRUE(commands().empty());
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(Frames, DraggingTheCaptionMovesTheWindow) {
  HWND hwnd = framed(WS_OVERLAPPEDWINDOW);
  platform::InjectMouseMove(POINT{200, 112});
  platform::InjectMouseButton(platform::MouseButton::Left, true);
  platform::InjectMouseMove(POINT{230, 142});
  platform::InjectMouseButton(platform::MouseButton::Left, false);
  pump();
  RECT window;
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(window.left, 130);
  EXPECT_EQ(window.top, 130);
  EXPECT_THAT(commands(), ::testing::ElementsAre(SC_MOVE));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Frames, InactiveCaptionIsGrey) {
  HWND first = framed(WS_OVERLAPPEDWINDOW);
  COLORREF active = pixelAt(first, 40, 12);
  framed(WS_OVERLAPPEDWINDOW, {500, 100, 700, 300});  // takes the activation
  pump();
  COLORREF inactive = pixelAt(first, 40, 12);
  EXPECT_NE(active, inactive);
  EXPECT_EQ(GetRValue(inactive), GetBValue(inactive));  // a grey
}

TEST_F(Frames, ClientEdgeIsSunken) {
  HWND parent = canvas(300, 200);
  HWND child = CreateWindowExW(WS_EX_CLIENTEDGE, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 10, 10,
                               100, 50, parent, nullptr, nullptr, nullptr);
  pump();
  EXPECT_EQ(pixelAt(child, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixelAt(child, 1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(pixelAt(child, 99, 49), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixelAt(child, 98, 48), GetSysColor(COLOR_3DLIGHT));
}

}  // namespace
}  // namespace drawing_test

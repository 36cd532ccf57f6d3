#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

std::vector<UINT>& seen() {
  static std::vector<UINT> messages;
  return messages;
}

// Records the paint messages and paints nothing itself.
LRESULT recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT || message == WM_ERASEBKGND || message == WM_NCPAINT) {
    seen().push_back(message);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class PaintFlags : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = recordingProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    wc.lpszClassName = u"PaintFlagsWindow";
    RegisterClassExW(&wc);
  }

  HWND window(DWORD style = WS_POPUP | WS_BORDER) {
    HWND hwnd = CreateWindowExW(0, u"PaintFlagsWindow", u"", style | WS_VISIBLE, 0, 0, 100, 80,
                                nullptr, nullptr, nullptr, nullptr);
    pump();
    seen().clear();
    return hwnd;
  }
};

TEST_F(PaintFlags, RedrawWindowFlagsChooseThePaintMessages) {
  struct Case {
    UINT flags;
    std::vector<UINT> messages;
  };
  const std::vector<Case> cases = {
      {RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW, {WM_PAINT, WM_ERASEBKGND}},
      {RDW_INVALIDATE | RDW_UPDATENOW, {WM_PAINT}},
      {RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW, {WM_ERASEBKGND}},
      {RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW, {WM_PAINT, WM_NCPAINT}},
      {RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW, {WM_NCPAINT, WM_ERASEBKGND}},
      {RDW_INTERNALPAINT | RDW_UPDATENOW, {WM_PAINT}},
      {RDW_INVALIDATE, {}},
  };
  for (const Case& c : cases) {
    HWND hwnd = window();
    RedrawWindow(hwnd, nullptr, nullptr, c.flags);
    EXPECT_EQ(seen(), c.messages) << c.flags;
    DestroyWindow(hwnd);
  }
}

TEST_F(PaintFlags, ValidateAndNoEraseRemoveWhatWaits) {
  HWND hwnd = window();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_VALIDATE);
  UpdateWindow(hwnd);
  EXPECT_TRUE(seen().empty());
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  RECT part{0, 0, 10, 10};
  RedrawWindow(hwnd, &part, nullptr, RDW_VALIDATE | RDW_NOERASE);
  UpdateWindow(hwnd);
  EXPECT_THAT(seen(), ::testing::ElementsAre(WM_PAINT));
}

TEST_F(PaintFlags, InvalidateRgnMakesAComplexUpdateRegion) {
  HWND hwnd = window();
  HRGN two = CreateRectRgn(0, 0, 10, 10);
  HRGN other = CreateRectRgn(50, 50, 60, 60);
  CombineRgn(two, two, other, RGN_OR);
  InvalidateRgn(hwnd, two, FALSE);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(hwnd, update, FALSE), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(update, two));
  RECT bounds;
  GetUpdateRect(hwnd, &bounds, FALSE);
  EXPECT_EQ(bounds.right, 60);
  ValidateRgn(hwnd, other);
  EXPECT_EQ(GetUpdateRgn(hwnd, update, FALSE), SIMPLEREGION);
  DeleteObject(two);
  DeleteObject(other);
  DeleteObject(update);
}

TEST_F(PaintFlags, ShowingAFramedWindowPaintsItsFrameOnce) {
  HWND hwnd = CreateWindowExW(0, u"PaintFlagsWindow", u"", WS_POPUP | WS_BORDER, 0, 0, 100, 80,
                              nullptr, nullptr, nullptr, nullptr);
  pump();
  seen().clear();
  ShowWindow(hwnd, SW_SHOW);
  pump();
  // BeginPaint paints the frame, then erases.
  EXPECT_THAT(seen(), ::testing::ElementsAre(WM_PAINT, WM_NCPAINT, WM_ERASEBKGND));
  // The thin border is black; inside it the class brush (the window colour).
  EXPECT_EQ(pixelAt(hwnd, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixelAt(hwnd, 1, 1), GetSysColor(COLOR_WINDOW));
}

TEST_F(PaintFlags, FrameAloneIsPaintedWithoutAPaintMessage) {
  HWND hwnd = window();
  SetScrollRange(hwnd, SB_VERT, 0, 10, TRUE);  // no scroll bar style: nothing to paint
  pump();
  EXPECT_TRUE(seen().empty());
  SetWindowTextW(window(WS_POPUP | WS_CAPTION), u"New title");
  pump();
  EXPECT_THAT(seen(), ::testing::ElementsAre(WM_NCPAINT));
}

TEST_F(PaintFlags, MovingAChildRepaintsBothPlaces) {
  HWND parent = canvas(200, 100);
  HWND child = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30,
                               parent, nullptr, nullptr, nullptr);
  painter() = [&](HWND hwnd, HDC dc) {
    if (hwnd != child) return;
    RECT all{0, 0, 30, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  };
  pump();
  MoveWindow(child, 100, 50, 30, 30, TRUE);
  pump();
  EXPECT_EQ(clientPixel(parent, 20, 20), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(clientPixel(parent, 110, 60), RGB(0, 0, 0));
}

TEST_F(PaintFlags, ResizingATopLevelWindowResizesItsImage) {
  HWND hwnd = canvas(100, 50);
  pump();
  SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  pump();
  EXPECT_EQ(clientPixel(hwnd, 290, 190), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(clientPixel(hwnd, 300, 100), CLR_INVALID);
}

}  // namespace
}  // namespace drawing_test

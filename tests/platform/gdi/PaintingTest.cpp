#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

using Painting = DrawingTest;

TEST_F(Painting, BeginPaintErasesWithTheClassBrushAndValidates) {
  HWND hwnd = canvas(100, 50);
  int paints = 0;
  painter() = [&](HWND, HDC) { ++paints; };
  pump();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(clientPixel(hwnd, 10, 10), GetSysColor(COLOR_BTNFACE));
  RECT update;
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
  pump();
  EXPECT_EQ(paints, 1);  // validated: no second WM_PAINT
}

TEST_F(Painting, PaintContextIsClippedToTheUpdateRegion) {
  HWND hwnd = canvas(100, 50);
  pump();
  painter() = [](HWND, HDC dc) {
    RECT all{0, 0, 100, 50};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
  };
  RECT part{10, 10, 20, 20};
  InvalidateRect(hwnd, &part, FALSE);
  UpdateWindow(hwnd);
  EXPECT_EQ(clientPixel(hwnd, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(clientPixel(hwnd, 30, 30), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Painting, ValidateRectRemovesPartOfTheUpdateRegion) {
  HWND hwnd = canvas(100, 50);
  pump();
  InvalidateRect(hwnd, nullptr, TRUE);
  RECT left{0, 0, 50, 50};
  ValidateRect(hwnd, &left);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update.left, 50);
  EXPECT_EQ(update.right, 100);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(hwnd, region, FALSE), SIMPLEREGION);
  DeleteObject(region);
}

TEST_F(Painting, RedrawWindowInvalidatesChildrenOfParentsThatDoNotClipThem) {
  struct Case {
    DWORD parentStyle;
    UINT flags;
    bool childInvalid;
  };
  const Case cases[] = {
      {0, RDW_INVALIDATE, true},
      {WS_CLIPCHILDREN, RDW_INVALIDATE, false},
      {WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_ALLCHILDREN, true},
      {0, RDW_INVALIDATE | RDW_NOCHILDREN, false},
  };
  for (const Case& c : cases) {
    HWND parent = canvas(200, 100, 0, 0, WS_POPUP | WS_VISIBLE | c.parentStyle);
    HWND child = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30,
                                 parent, nullptr, nullptr, nullptr);
    pump();
    RedrawWindow(parent, nullptr, nullptr, c.flags);
    RECT update;
    EXPECT_EQ(GetUpdateRect(child, &update, FALSE) != 0, c.childInvalid) << c.flags;
    DestroyWindow(parent);
  }
}

TEST_F(Painting, UpdateNowPaintsParentsBeforeChildren) {
  HWND parent = canvas(200, 100);
  HWND child = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30,
                               parent, nullptr, nullptr, nullptr);
  pump();
  std::vector<HWND> order;
  painter() = [&](HWND hwnd, HDC) { order.push_back(hwnd); };
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_THAT(order, ::testing::ElementsAre(parent, child));
}

TEST_F(Painting, ChildDrawsIntoItsParentsImageAtItsPlace) {
  HWND parent = canvas(200, 100, 50, 50);
  HWND child = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 20, 10, 50, 30,
                               parent, nullptr, nullptr, nullptr);
  pump();
  HDC dc = GetDC(child);
  RECT big{-100, -100, 300, 300};  // clipped to the child
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &big, blue);
  DeleteObject(blue);
  ReleaseDC(child, dc);
  EXPECT_EQ(clientPixel(parent, 20, 10), RGB(0, 0, 255));
  EXPECT_EQ(clientPixel(parent, 69, 39), RGB(0, 0, 255));
  EXPECT_EQ(clientPixel(parent, 70, 39), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(clientPixel(parent, 19, 10), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Painting, HidingAChildRepaintsWhatItCovered) {
  HWND parent = canvas(200, 100);
  HWND child = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE, 20, 10, 50, 30,
                               parent, nullptr, nullptr, nullptr);
  painter() = [&](HWND hwnd, HDC dc) {
    if (hwnd != child) return;
    RECT all{0, 0, 50, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  };
  pump();
  EXPECT_EQ(clientPixel(parent, 30, 20), RGB(0, 0, 0));
  ShowWindow(child, SW_HIDE);
  pump();
  EXPECT_EQ(clientPixel(parent, 30, 20), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Painting, ClippingSiblingsKeepsTheUpperSiblingIntact) {
  HWND parent = canvas(200, 100);
  HWND lower = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                               0, 100, 100, parent, nullptr, nullptr, nullptr);
  HWND upper = CreateWindowExW(0, kPaintingClass, u"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                               40, 40, 20, 20, parent, nullptr, nullptr, nullptr);
  painter() = [&](HWND hwnd, HDC dc) {
    RECT all{0, 0, 200, 200};
    HBRUSH brush = CreateSolidBrush(hwnd == upper ? RGB(0, 255, 0) : RGB(255, 0, 0));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  };
  pump();
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(clientPixel(parent, 50, 50), RGB(0, 255, 0));
  EXPECT_EQ(clientPixel(parent, 10, 10), RGB(255, 0, 0));
}

TEST_F(Painting, CaptionedWindowGetsItsFrameAndTitleBar) {
  HWND hwnd = CreateWindowExW(0, kPaintingClass, u"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                              10, 300, 200, nullptr, nullptr, nullptr, nullptr);
  pump();
  // The caption gradient starts in the active caption colour.
  RECT window;
  GetWindowRect(hwnd, &window);
  COLORREF caption = pixelAt(hwnd, 40, 12);
  EXPECT_LT(GetRValue(caption), 128);
  EXPECT_LT(GetGValue(caption), 128);
  EXPECT_GT(GetBValue(caption), 90);
  // The raised outer edge: light top left, dark shadow bottom right.
  EXPECT_EQ(pixelAt(hwnd, 0, 50), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(pixelAt(hwnd, window.right - window.left - 1, 50), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(Painting, SnapshotWritesAPng) {
  HWND hwnd = CreateWindowExW(0, kPaintingClass, u"Snapshot", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 120, nullptr, nullptr, nullptr, nullptr);
  std::string path = ::testing::TempDir() + "snapshot_test.png";
  ASSERT_TRUE(platform::headless::SnapshotPng(hwnd, path));
  std::ifstream file(path, std::ios::binary);
  char signature[8] = {};
  file.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  std::remove(path.c_str());
  EXPECT_FALSE(platform::headless::SnapshotPng(reinterpret_cast<HWND>(0x7FF00010), path));
}

}  // namespace
}  // namespace drawing_test

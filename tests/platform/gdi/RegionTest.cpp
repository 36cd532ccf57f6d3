#include "internal/Region.h"

#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

using platform::internal::Region;

TEST(RegionModel, CombineGivesBandedRectanglesThatCompareEqual) {
  Region a(RECT{0, 0, 10, 10});
  Region b(RECT{5, 5, 15, 15});
  Region both = Region::combine(a, b, Region::Op::Or);
  EXPECT_EQ(both.rects().size(), 3u);  // top band, middle band, bottom band
  EXPECT_TRUE(both.contains(POINT{12, 12}));
  EXPECT_FALSE(both.contains(POINT{12, 2}));
  Region common = Region::combine(a, b, Region::Op::And);
  EXPECT_EQ(common, Region(RECT{5, 5, 10, 10}));
  Region rest = Region::combine(both, common, Region::Op::Diff);
  EXPECT_EQ(Region::combine(rest, common, Region::Op::Or), both);
  Region xored = Region::combine(a, b, Region::Op::Xor);
  EXPECT_FALSE(xored.contains(POINT{7, 7}));
  EXPECT_TRUE(xored.contains(POINT{2, 2}));
  // Splitting a rectangle and joining it again merges the bands back.
  Region top(RECT{0, 0, 10, 5});
  Region bottom(RECT{0, 5, 10, 10});
  EXPECT_EQ(Region::combine(top, bottom, Region::Op::Or), a);
}

TEST(RegionModel, ShapesCoverTheirInsides) {
  Region ellipse = Region::ellipse(RECT{0, 0, 20, 10});
  EXPECT_TRUE(ellipse.contains(POINT{10, 5}));
  EXPECT_FALSE(ellipse.contains(POINT{0, 0}));
  EXPECT_EQ(ellipse.bounds().right, 20);
  Region triangle = Region::polygon(std::vector<POINT>{{0, 0}, {10, 0}, {0, 10}}, ALTERNATE);
  EXPECT_TRUE(triangle.contains(POINT{2, 2}));
  EXPECT_FALSE(triangle.contains(POINT{8, 8}));
  // A star's middle is out for the even-odd rule and in for winding.
  std::vector<POINT> star{{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
  EXPECT_FALSE(Region::polygon(star, ALTERNATE).contains(POINT{10, 10}));
  EXPECT_TRUE(Region::polygon(star, WINDING).contains(POINT{10, 10}));
  Region rounded = Region::roundRect(RECT{0, 0, 20, 20}, 10, 10);
  EXPECT_FALSE(rounded.contains(POINT{0, 0}));
  EXPECT_TRUE(rounded.contains(POINT{10, 0}));
}

using Regions = DrawingTest;

TEST_F(Regions, CombineRgnAnswersTheRegionType) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(20, 0, 30, 10);
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int mode;
    int type;
  };
  const Case cases[] = {{RGN_AND, NULLREGION},
                        {RGN_OR, COMPLEXREGION},
                        {RGN_DIFF, SIMPLEREGION},
                        {RGN_COPY, SIMPLEREGION}};
  for (const Case& c : cases)
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.type) << c.mode;
  EXPECT_EQ(CombineRgn(out, a, b, 99), ERROR);
  RECT box;
  EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
  GetRgnBox(a, &box);
  EXPECT_EQ(box.left, 5);
  EXPECT_TRUE(PtInRegion(a, 14, 14));
  EXPECT_FALSE(PtInRegion(a, 15, 15));
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(out);
  EXPECT_FALSE(PtInRegion(a, 6, 6));  // a deleted region is no region
}

TEST_F(Regions, ClippingLimitsDrawing) {
  HWND hwnd = canvas(100, 60);
  pump();
  HDC dc = GetDC(hwnd);
  HRGN ellipse = CreateEllipticRgn(0, 0, 60, 60);
  EXPECT_EQ(SelectClipRgn(dc, ellipse), COMPLEXREGION);
  DeleteObject(ellipse);  // the context keeps its own copy
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 100, 30), COMPLEXREGION);
  RECT all{0, 0, 100, 60};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT clip;
  GetClipBox(dc, &clip);
  EXPECT_EQ(clip.bottom, 30);
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(clientPixel(hwnd, 30, 20), RGB(0, 0, 0));
  EXPECT_EQ(clientPixel(hwnd, 30, 40), GetSysColor(COLOR_BTNFACE));  // below the rectangle
  EXPECT_EQ(clientPixel(hwnd, 1, 1), GetSysColor(COLOR_BTNFACE));    // outside the ellipse
  EXPECT_EQ(clientPixel(hwnd, 80, 10), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Regions, SaveDcRestoresTheClipping) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(GetDC(nullptr), 20, 20);
  SelectObject(dc, bitmap);
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, 0, 0, 10, 20);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, clip), 1);
  RestoreDC(dc, saved);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);
  DeleteObject(clip);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace drawing_test

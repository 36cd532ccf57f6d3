#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

// A memory context on a white bitmap, with the default GUI font.
class MemoryCanvas : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    dc_ = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(nullptr, screen);
    SelectObject(dc_, bitmap_);
    SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    PatBlt(dc_, 0, 0, 200, 100, WHITENESS);
  }
  void TearDown() override {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
    DrawingTest::TearDown();
  }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

TEST_F(MemoryCanvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc_, red);
  SelectObject(dc_, blue);
  Rectangle(dc_, 10, 10, 20, 20);
  EXPECT_EQ(at(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(at(19, 19), RGB(255, 0, 0));
  EXPECT_EQ(at(15, 15), RGB(0, 0, 255));
  EXPECT_EQ(at(20, 20), RGB(255, 255, 255));  // right and bottom are excluded
  SelectObject(dc_, GetStockObject(BLACK_PEN));
  SelectObject(dc_, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(MemoryCanvas, LineToExcludesItsEndPoint) {
  MoveToEx(dc_, 5, 5, nullptr);
  LineTo(dc_, 15, 5);
  EXPECT_EQ(at(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(at(14, 5), RGB(0, 0, 0));
  EXPECT_EQ(at(15, 5), RGB(255, 255, 255));
  POINT now;
  GetCurrentPositionEx(dc_, &now);
  EXPECT_EQ(now.x, 15);
}

TEST_F(MemoryCanvas, Rop2ModesChangeHowThePenCombines) {
  struct Case {
    int mode;
    COLORREF background;
    COLORREF pen;
    COLORREF result;
  };
  const Case cases[] = {
      {R2_COPYPEN, RGB(255, 255, 255), RGB(0, 128, 0), RGB(0, 128, 0)},
      {R2_NOT, RGB(255, 255, 255), RGB(0, 128, 0), RGB(0, 0, 0)},
      {R2_NOT, RGB(0, 0, 0), RGB(0, 128, 0), RGB(255, 255, 255)},
      {R2_XORPEN, RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)},
      {R2_BLACK, RGB(255, 255, 255), RGB(0, 128, 0), RGB(0, 0, 0)},
      {R2_WHITE, RGB(0, 0, 0), RGB(0, 128, 0), RGB(255, 255, 255)},
      {R2_NOP, RGB(10, 20, 30), RGB(0, 128, 0), RGB(10, 20, 30)},
      {R2_MASKPEN, RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0)},
      {R2_MERGEPEN, RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 0, 255)},
  };
  for (const Case& c : cases) {
    SetPixel(dc_, 50, 50, c.background);
    HPEN pen = CreatePen(PS_SOLID, 1, c.pen);
    HGDIOBJ old = SelectObject(dc_, pen);
    int previous = SetROP2(dc_, c.mode);
    MoveToEx(dc_, 50, 50, nullptr);
    LineTo(dc_, 51, 50);
    SetROP2(dc_, previous);
    SelectObject(dc_, old);
    DeleteObject(pen);
    EXPECT_EQ(at(50, 50), c.result) << c.mode;
  }
}

TEST_F(MemoryCanvas, DrawTextCalcRectMeasuresWithoutDrawing) {
  RECT single{0, 0, 500, 0};
  int height = DrawTextW(dc_, u"Hello", -1, &single, DT_SINGLELINE | DT_CALCRECT);
  SIZE extent;
  GetTextExtentPoint32W(dc_, u"Hello", 5, &extent);
  EXPECT_EQ(single.right, extent.cx);
  EXPECT_EQ(height, extent.cy);
  EXPECT_EQ(at(2, 5), RGB(255, 255, 255));
  RECT wrapped{0, 0, 60, 0};
  int wrappedHeight =
      DrawTextW(dc_, u"one two three four", -1, &wrapped, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GT(wrappedHeight, extent.cy);
  EXPECT_EQ(wrappedHeight % extent.cy, 0);
  EXPECT_LE(wrapped.right, 60);
}

TEST_F(MemoryCanvas, DrawTextPrefixesUnderlineAndDoubleAmpersandsShowOne) {
  RECT a{0, 0, 500, 0}, b{0, 0, 500, 0}, c{0, 0, 500, 0};
  DrawTextW(dc_, u"&Save", -1, &a, DT_SINGLELINE | DT_CALCRECT);
  DrawTextW(dc_, u"Save", -1, &b, DT_SINGLELINE | DT_CALCRECT);
  DrawTextW(dc_, u"&Save", -1, &c, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(a.right, b.right);
  EXPECT_GT(c.right, b.right);
  RECT d{0, 0, 500, 0}, e{0, 0, 500, 0};
  DrawTextW(dc_, u"A&&B", -1, &d, DT_SINGLELINE | DT_CALCRECT);
  DrawTextW(dc_, u"A&B", -1, &e, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(d.right, e.right);
}

TEST_F(MemoryCanvas, DrawTextAlignsAndCentresASingleLine) {
  SetBkMode(dc_, TRANSPARENT);
  const char16_t* block = u"\x2588";  // a full block: ink across the cell
  RECT right{0, 0, 200, 100};
  DrawTextW(dc_, block, -1, &right, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  EXPECT_NE(at(197, 95), RGB(255, 255, 255));
  EXPECT_EQ(at(3, 5), RGB(255, 255, 255));
  RECT centre{0, 0, 200, 100};
  int offset = DrawTextW(dc_, block, -1, &centre, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  EXPECT_GT(offset, 50);  // the text's bottom, measured from the top
  EXPECT_NE(at(100, 50), RGB(255, 255, 255));
}

TEST_F(MemoryCanvas, OpaqueTextFillsItsCellWithTheBackgroundColour) {
  SetBkColor(dc_, RGB(0, 255, 0));
  TextOutW(dc_, 0, 0, u"i", 1);
  SIZE extent;
  GetTextExtentPoint32W(dc_, u"i", 1, &extent);
  EXPECT_EQ(at(0, extent.cy - 1), RGB(0, 255, 0));
  SetBkMode(dc_, TRANSPARENT);
  TextOutW(dc_, 100, 0, u"i", 1);
  EXPECT_EQ(at(100, extent.cy - 1), RGB(255, 255, 255));
}

TEST_F(MemoryCanvas, PatternBrushTakesTheContextsColours) {
  static const WORD kChecker[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);  // the brush keeps its own copy
  SetTextColor(dc_, RGB(255, 0, 0));
  SetBkColor(dc_, RGB(0, 0, 255));
  RECT r{0, 0, 8, 8};
  FillRect(dc_, &r, brush);
  EXPECT_EQ(at(0, 0), RGB(0, 0, 255));  // set bits take the background colour
  EXPECT_EQ(at(1, 0), RGB(255, 0, 0));
  DeleteObject(brush);
}

TEST_F(MemoryCanvas, BitBltCopiesBetweenContexts) {
  HDC other = CreateCompatibleDC(dc_);
  HBITMAP bits = CreateCompatibleBitmap(dc_, 10, 10);
  SelectObject(other, bits);
  PatBlt(other, 0, 0, 10, 10, BLACKNESS);
  SetPixel(other, 3, 3, RGB(1, 2, 3));
  EXPECT_TRUE(BitBlt(dc_, 100, 50, 10, 10, other, 0, 0, SRCCOPY));
  EXPECT_EQ(at(103, 53), RGB(1, 2, 3));
  EXPECT_EQ(at(100, 50), RGB(0, 0, 0));
  EXPECT_EQ(at(110, 60), RGB(255, 255, 255));
  BitBlt(dc_, 100, 50, 10, 10, nullptr, 0, 0, DSTINVERT);
  EXPECT_EQ(at(100, 50), RGB(255, 255, 255));
  // A bitmap selected into a context cannot be deleted.
  EXPECT_FALSE(DeleteObject(bits));
  DeleteDC(other);
  EXPECT_TRUE(DeleteObject(bits));
}

TEST_F(MemoryCanvas, GradientFillRunsFromColourToColour) {
  TRIVERTEX vertices[2] = {{0, 0, 0, 0, 0, 0}, {100, 10, 0xFF00, 0, 0, 0}};
  GRADIENT_RECT mesh{0, 1};
  EXPECT_TRUE(GradientFill(dc_, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
  EXPECT_LT(GetRValue(at(2, 5)), 20);
  EXPECT_GT(GetRValue(at(97, 5)), 230);
  EXPECT_NEAR(GetRValue(at(50, 5)), 128, 8);
  GRADIENT_RECT bad{0, 5};
  EXPECT_FALSE(GradientFill(dc_, vertices, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST_F(MemoryCanvas, DrawEdgeUsesTheThreeDColoursAndAdjusts) {
  RECT r{0, 0, 20, 20};
  DrawEdge(dc_, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 18);
  EXPECT_EQ(at(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(at(1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(at(19, 19), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(at(18, 18), GetSysColor(COLOR_3DLIGHT));
}

TEST_F(MemoryCanvas, FocusRectangleDrawnTwiceVanishes) {
  RECT r{10, 10, 30, 20};
  DrawFocusRect(dc_, &r);
  EXPECT_EQ(at(10, 10), RGB(0, 0, 0));
  EXPECT_EQ(at(11, 10), RGB(255, 255, 255));  // dotted
  DrawFocusRect(dc_, &r);
  EXPECT_EQ(at(10, 10), RGB(255, 255, 255));
}

TEST_F(MemoryCanvas, EllipseStaysInsideItsBox) {
  SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  Ellipse(dc_, 10, 10, 30, 30);
  EXPECT_EQ(at(20, 20), RGB(0, 0, 0));
  EXPECT_EQ(at(10, 10), RGB(255, 255, 255));
  EXPECT_EQ(at(30, 20), RGB(255, 255, 255));
  EXPECT_EQ(at(29, 20), RGB(0, 0, 0));
}

}  // namespace
}  // namespace drawing_test

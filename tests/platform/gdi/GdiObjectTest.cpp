#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

using GdiObjects = DrawingTest;

TEST_F(GdiObjects, DeletedHandlesStayInvalid) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_FALSE(DeleteObject(brush));
  // A new object does not take the old handle's identity.
  HBRUSH next = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_NE(next, brush);
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectW(brush, sizeof lb, &lb), 0);
  DeleteObject(next);
}

TEST_F(GdiObjects, StockObjectsSurviveDeletion) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(white));
  EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
  EXPECT_EQ(GetStockObject(DEFAULT_PALETTE), nullptr);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"DejaVu Sans");
}

TEST_F(GdiObjects, SelectObjectAnswersThePreviousObject) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, old), pen);
  // A pen deleted while selected stays usable by the context.
  SelectObject(dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(LineTo(dc, 1, 0));
  DeleteDC(dc);
}

TEST_F(GdiObjects, SaveAndRestoreDcRestoreObjectsAndColours) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 1, 1));
  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  SetTextColor(dc, RGB(2, 2, 2));
  SelectObject(dc, GetStockObject(NULL_PEN));
  SaveDC(dc);
  SetTextColor(dc, RGB(3, 3, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dc, level));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(dc, 1));  // nothing left to restore
  DeleteDC(dc);
}

TEST_F(GdiObjects, SystemColoursCoverIndexesZeroToThirty) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_NE(GetSysColorBrush(30), nullptr);
  EXPECT_EQ(GetSysColorBrush(31), nullptr);
  EXPECT_EQ(GetSysColor(31), 0u);
  LOGBRUSH lb{};
  GetObjectW(GetSysColorBrush(COLOR_HIGHLIGHT), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GdiObjects, NonClientMetricsGiveTheUiFont) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  EXPECT_EQ(std::u16string(metrics.lfMessageFont.lfFaceName), u"DejaVu Sans");
  EXPECT_LT(metrics.lfMessageFont.lfHeight, 0);
  EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
  metrics.cbSize = 12;
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0));
}

// The UI fonts are sized for the display's resolution: 8 points are 11
// pixels at 96 dots per inch and 17 at 144, and text drawn in them grows by
// the same factor.
TEST_F(GdiObjects, NonClientFontsFollowTheDisplayResolution) {
  struct Resolution {
    int dpi;
    LONG messageHeight;
  };
  const Resolution resolutions[] = {{96, -11}, {120, -14}, {144, -17}, {192, -22}};
  LONG widthAt96 = 0;
  for (const Resolution& r : resolutions) {
    platform::ScopedHeadlessDisplay display({1024, 768}, r.dpi);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, r.messageHeight) << r.dpi;
    EXPECT_EQ(metrics.lfCaptionFont.lfHeight, r.messageHeight) << r.dpi;
    LOGFONTW iconFont{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconFont, &iconFont, 0));
    EXPECT_EQ(iconFont.lfHeight, r.messageHeight) << r.dpi;

    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, u"The peer did not answer", 23, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    if (r.dpi == 96) widthAt96 = extent.cx;
    double expected = widthAt96 * r.dpi / 96.0;
    EXPECT_NEAR(extent.cx, expected, expected * 0.08) << r.dpi;
  }
}

TEST_F(GdiObjects, TextExtentIsTheSumOfCharacterAdvances) {
  HDC dc = GetDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE whole{}, a{}, b{};
  GetTextExtentPoint32W(dc, u"Hello, world", 12, &whole);
  GetTextExtentPoint32W(dc, u"Hello,", 6, &a);
  GetTextExtentPoint32W(dc, u" world", 6, &b);
  EXPECT_GT(whole.cx, 0);
  EXPECT_EQ(whole.cx, a.cx + b.cx);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(dc, &tm));
  EXPECT_EQ(whole.cy, tm.tmHeight);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  ReleaseDC(nullptr, dc);
}

}  // namespace
}  // namespace drawing_test

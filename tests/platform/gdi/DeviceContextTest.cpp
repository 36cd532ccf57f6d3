#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace drawing_test {
namespace {

using DeviceContexts = DrawingTest;

TEST_F(DeviceContexts, ReleasedContextsAreNoLongerUsable) {
  HWND hwnd = canvas(50, 50);
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetObjectType(dc), OBJ_DC);
  EXPECT_EQ(WindowFromDC(dc), hwnd);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(GetObjectType(dc), 0u);
  EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
  EXPECT_FALSE(Rectangle(dc, 0, 0, 10, 10));
  EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(memory), OBJ_MEMDC);
  EXPECT_EQ(ReleaseDC(nullptr, memory), 0);  // memory contexts are deleted, not released
  EXPECT_TRUE(DeleteDC(memory));
}

TEST_F(DeviceContexts, AContextOutlivingItsWindowDrawsHarmlessly) {
  HWND hwnd = canvas(50, 50);
  HDC dc = GetDC(hwnd);
  DestroyWindow(hwnd);
  RECT r{0, 0, 50, 50};
  EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
  ReleaseDC(nullptr, dc);
}

TEST_F(DeviceContexts, UnknownWindowsGetNoContext) {
  HWND stale = canvas(10, 10);
  DestroyWindow(stale);
  EXPECT_EQ(GetDC(stale), nullptr);
  EXPECT_EQ(GetWindowDC(stale), nullptr);
  PAINTSTRUCT ps;
  EXPECT_EQ(BeginPaint(stale, &ps), nullptr);
}

TEST_F(DeviceContexts, ScreenContextMeasuresAndReportsTheDisplay) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);  // nothing to read
  SIZE extent{};
  EXPECT_TRUE(GetTextExtentPoint32W(screen, u"abc", 3, &extent));
  EXPECT_GT(extent.cx, 0);
  ReleaseDC(nullptr, screen);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSX), 96);
  DeleteDC(memory);
}

TEST_F(DeviceContexts, WindowContextCoversTheFrameAndClientContextTheClient) {
  HWND hwnd = CreateWindowExW(0, kPaintingClass, u"w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              150, nullptr, nullptr, nullptr, nullptr);
  pump();
  HDC client = GetDC(hwnd);
  RECT box;
  GetClipBox(client, &box);
  RECT clientRect;
  GetClientRect(hwnd, &clientRect);
  EXPECT_EQ(box.right, clientRect.right);
  EXPECT_EQ(box.bottom, clientRect.bottom);
  ReleaseDC(hwnd, client);
  HDC whole = GetWindowDC(hwnd);
  GetClipBox(whole, &box);
  EXPECT_EQ(box.right, 200);
  EXPECT_EQ(box.bottom, 150);
  ReleaseDC(hwnd, whole);
}

TEST_F(DeviceContexts, ViewportOriginMovesDrawingButNotTheClipping) {
  HWND hwnd = canvas(100, 60);
  pump();
  HDC dc = GetDC(hwnd);
  IntersectClipRect(dc, 0, 0, 50, 60);
  POINT previous;
  SetViewportOrgEx(dc, 30, 0, &previous);
  EXPECT_EQ(previous.x, 0);
  RECT r{0, 0, 40, 10};  // lands at 30..70, clipped at 50
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(clientPixel(hwnd, 29, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(clientPixel(hwnd, 30, 5), RGB(0, 0, 0));
  EXPECT_EQ(clientPixel(hwnd, 49, 5), RGB(0, 0, 0));
  EXPECT_EQ(clientPixel(hwnd, 50, 5), GetSysColor(COLOR_BTNFACE));
}

TEST_F(DeviceContexts, SelectingABitmapIntoTwoContextsFails) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
  EXPECT_NE(SelectObject(first, bitmap), nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  BITMAP info{};
  EXPECT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(GetObjectW(bitmap, 0, nullptr), static_cast<int>(sizeof info));
  DeleteDC(first);
  EXPECT_NE(SelectObject(second, bitmap), nullptr);  // free again once its context is gone
  DeleteDC(second);
  DeleteObject(bitmap);
  EXPECT_EQ(SelectObject(second, GetStockObject(BLACK_PEN)), nullptr);
}

TEST_F(DeviceContexts, InvalidArgumentsAreRefused) {
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
  EXPECT_EQ(CreateHatchBrush(17, 0), nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
  EXPECT_EQ(CreatePatternBrush(nullptr), nullptr);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(SetROP2(dc, 0), 0);
  EXPECT_EQ(SetPolyFillMode(dc, 3), 0);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
  DeleteDC(dc);
}

TEST_F(DeviceContexts, FontsAskedByCellOrCharacterHeight) {
  HDC dc = CreateCompatibleDC(nullptr);
  struct Case {
    LONG height;
    const char16_t* face;
  };
  const Case cases[] = {{-11, u"MS Sans Serif"}, {-16, u"Tahoma"}, {20, u"Arial"}, {13, u""}};
  for (const Case& c : cases) {
    LOGFONTW lf{};
    lf.lfHeight = c.height;
    std::u16string_view face = c.face;
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    if (c.height > 0) {
      EXPECT_NEAR(tm.tmHeight, c.height, 1) << c.height;  // the cell height
    } else {
      EXPECT_GT(tm.tmHeight, -c.height) << c.height;  // the em plus leading
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.height);
    }
    char16_t name[LF_FACESIZE] = {};
    EXPECT_GT(GetTextFaceW(dc, LF_FACESIZE, name), 0);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  DeleteDC(dc);
}

TEST_F(DeviceContexts, BoldFontsAreWiderThanRegularOnes) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT regular =
      CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"DejaVu Sans");
  HFONT bold =
      CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"DejaVu Sans");
  SIZE a{}, b{};
  SelectObject(dc, regular);
  GetTextExtentPoint32W(dc, u"Heading", 7, &a);
  SelectObject(dc, bold);
  GetTextExtentPoint32W(dc, u"Heading", 7, &b);
  EXPECT_GT(b.cx, a.cx);
  LOGFONTW back{};
  GetObjectW(bold, sizeof back, &back);
  EXPECT_EQ(back.lfWeight, FW_BOLD);
  DeleteDC(dc);
  DeleteObject(regular);
  DeleteObject(bold);
}

TEST_F(DeviceContexts, TextExtentExPointCountsWhatFits) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int widths[5] = {};
  int fit = 0;
  SIZE total{};
  SIZE two{};
  GetTextExtentPoint32W(dc, u"ab", 2, &two);
  ASSERT_TRUE(GetTextExtentExPointW(dc, u"abcde", 5, two.cx, &fit, widths, &total));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(widths[1], two.cx);
  EXPECT_EQ(widths[4], total.cx);
  DeleteDC(dc);
}

}  // namespace
}  // namespace drawing_test

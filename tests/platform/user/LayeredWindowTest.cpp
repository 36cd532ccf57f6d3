// Layered windows: the attributes a window with WS_EX_LAYERED is given.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/kernel.h"

namespace windowing_test {
namespace {

using LayeredWindow = WindowTest;

TEST_F(LayeredWindow, AttributesNeedTheLayeredStyleAndGoWithIt) {
  HWND hwnd = CreateWindowExW(0, kRecordingClass, u"w", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  BYTE alpha = 0;
  COLORREF key = 0;
  DWORD flags = 0;
  EXPECT_FALSE(SetLayeredWindowAttributes(hwnd, 0, 128, LWA_ALPHA));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  // Layered but never given attributes.
  EXPECT_FALSE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  ASSERT_TRUE(SetLayeredWindowAttributes(hwnd, 0x00FF00, 128, LWA_ALPHA | LWA_COLORKEY));
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  EXPECT_EQ(key, 0x00FF00u);
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, LWA_ALPHA | LWA_COLORKEY);

  SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  EXPECT_FALSE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace windowing_test

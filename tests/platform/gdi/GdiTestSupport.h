// Shared pieces of the drawing tests: a fixture with a virtual clock and a
// headless display, a window class that paints what a test asks, and pixel
// reads of a window's image.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace drawing_test {

using Painter = std::function<void(HWND, HDC)>;

inline Painter& painter() {
  static Painter p;
  return p;
}

inline LRESULT paintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && painter()) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    painter()(hwnd, dc);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline constexpr const char16_t* kPaintingClass = u"DrawingTestCanvas";

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = paintingProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kPaintingClass;
    RegisterClassExW(&wc);  // fails harmlessly once registered
    painter() = nullptr;
  }

  void TearDown() override {
    painter() = nullptr;
    for (HWND top = ownTopWindow(); top; top = ownTopWindow())
      DestroyWindow(top);
    ReleaseCapture();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  static HWND ownTopWindow() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      if (GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) return h;
    }
    return nullptr;
  }

  // A visible popup canvas of the given client size at (x, y) on the screen.
  HWND canvas(int width = 200, int height = 100, int x = 0, int y = 0,
              DWORD style = WS_POPUP | WS_VISIBLE) {
    return CreateWindowExW(0, kPaintingClass, u"canvas", style, x, y, width, height, nullptr,
                           nullptr, nullptr, nullptr);
  }

  // Dispatches every waiting message (paints included).
  static void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // The colour of a pixel of the window's image, in window coordinates.
  static COLORREF pixelAt(HWND hwnd, int x, int y) {
    HDC dc = GetWindowDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
  }

  // The same in client coordinates.
  static COLORREF clientPixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
  }

  platform::ScopedVirtualClock clock_{1000};
  platform::ScopedHeadlessDisplay display_{{1024, 768}, 96};
};

// Where a test writes images: SKIFFWIRE_PNG_DIR, else the working folder.
inline std::string imagePath(const std::string& name) {
  const char* dir = std::getenv("SKIFFWIRE_PNG_DIR");
  return (dir && *dir ? std::string(dir) + "/" : std::string()) + name;
}

}  // namespace drawing_test

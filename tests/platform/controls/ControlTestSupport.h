// Shared pieces of the system control tests: a parent window that records
// the notifications its controls send and can answer their colour
// requests, and helpers that drive the controls with injected input.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/gdi/GdiTestSupport.h"

namespace controls_test {

struct Notification {
  HWND control;
  WORD id;
  WORD code;
};

struct ParentLog {
  std::vector<Notification> commands;
  std::vector<DRAWITEMSTRUCT> drawItems;
  // Answer to WM_CTLCOLOR* when set: the brush, and the text colour set.
  std::optional<HBRUSH> colorBrush;
  COLORREF colorText = 0;
  std::vector<UINT> colorMessages;
};

inline ParentLog& parentLog() {
  static ParentLog log;
  return log;
}

inline LRESULT parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ParentLog& log = parentLog();
  switch (message) {
    case WM_COMMAND:
      log.commands.push_back({reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam)});
      return 0;
    case WM_DRAWITEM:
      log.drawItems.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      log.colorMessages.push_back(message);
      if (log.colorBrush) {
        SetTextColor(reinterpret_cast<HDC>(wParam), log.colorText);
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(*log.colorBrush);
      }
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline constexpr const char16_t* kParentClass = u"ControlTestParent";

class ControlTest : public drawing_test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = parentProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kParentClass;
    RegisterClassExW(&wc);
    parentLog() = ParentLog{};
    parent_ = CreateWindowExW(0, kParentClass, u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
    pump();
  }

  void TearDown() override {
    DrawingTest::TearDown();
    parentLog() = ParentLog{};
  }

  HWND control(const char16_t* cls, const char16_t* text, DWORD style, RECT r, int id = 100,
               DWORD exStyle = 0) {
    HWND hwnd =
        CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, parent_,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    pump();
    return hwnd;
  }

  // A point of a control's client area on the screen.
  static POINT onScreen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }

  void clickAt(POINT screen) {
    display_->click(screen.x, screen.y);
    pump();
  }

  void click(HWND hwnd, int x = 5, int y = 5) { clickAt(onScreen(hwnd, x, y)); }

  void pressKey(int key) {
    display_->pressKey(key);
    pump();
  }

  static std::vector<WORD> codesFrom(HWND control) {
    std::vector<WORD> codes;
    for (const Notification& n : parentLog().commands) {
      if (n.control == control) codes.push_back(n.code);
    }
    return codes;
  }

  HWND parent_ = nullptr;
};

}  // namespace controls_test

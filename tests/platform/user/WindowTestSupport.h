// Shared pieces of the window manager tests: a window class that records
// every message it gets, and a fixture that gives each test a virtual clock,
// a fresh headless display and an empty queue, and destroys what it left.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/user.h"

// Rectangles compare and print in test expectations.
inline bool operator==(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b);
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace windowing_test {

struct Logged {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT posFlags = 0;  // WINDOWPOS.flags of WM_WINDOWPOSCHANGING/CHANGED as sent
};

// Answers a message instead of DefWindowProcW when it returns a value.
using Answer = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

inline std::vector<Logged>& log() {
  static std::vector<Logged> entries;
  return entries;
}

inline Answer& answer() {
  static Answer a;
  return a;
}

inline LRESULT recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Logged entry{hwnd, message, wParam, lParam};
  if ((message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED) && lParam) {
    entry.posFlags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
  }
  log().push_back(entry);
  if (answer()) {
    if (std::optional<LRESULT> result = answer()(hwnd, message, wParam, lParam)) return *result;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline const char16_t* kRecordingClass = u"WindowingTestRecorder";

inline void registerRecordingClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = recordingProc;
  wc.cbWndExtra = 16;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kRecordingClass;
  RegisterClassExW(&wc);  // fails harmlessly once registered
}

// The messages one window received (all windows when hwnd is null), in order.
inline std::vector<UINT> messagesOf(HWND hwnd, std::initializer_list<UINT> only = {}) {
  std::vector<UINT> out;
  for (const Logged& entry : log()) {
    if (hwnd && entry.hwnd != hwnd) continue;
    if (only.size() && std::find(only.begin(), only.end(), entry.message) == only.end()) continue;
    out.push_back(entry.message);
  }
  return out;
}

// Messages not about the window itself that the tests of order skip.
inline std::vector<UINT> withoutNoise(std::vector<UINT> messages) {
  std::erase_if(messages, [](UINT m) {
    return m == WM_SETCURSOR || m == WM_NCHITTEST || m == WM_GETTEXT || m == WM_GETTEXTLENGTH;
  });
  return messages;
}

inline void drainQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
  }
}

// Dispatches every waiting message.
inline int pump() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++count;
  }
  return count;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerRecordingClass();
    drainQueue();
    log().clear();
    answer() = nullptr;
  }

  void TearDown() override {
    answer() = nullptr;
    for (HWND victim = ownTopWindow(); victim; victim = ownTopWindow())
      DestroyWindow(victim);
    ReleaseCapture();
    drainQueue();
    log().clear();
  }

  static HWND ownTopWindow() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      if (GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) return h;
    }
    return nullptr;
  }

  HWND createTop(DWORD style = WS_OVERLAPPEDWINDOW, RECT r = {100, 100, 500, 400},
                 LPCWSTR title = u"top") {
    return CreateWindowExW(0, kRecordingClass, title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
  }

  HWND createChild(HWND parent, int id, RECT r = {10, 10, 110, 60},
                   DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowExW(0, kRecordingClass, u"child", style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  platform::ScopedVirtualClock clock_{1000};
  platform::ScopedHeadlessDisplay display_{{1024, 768}, 96};
};

}  // namespace windowing_test

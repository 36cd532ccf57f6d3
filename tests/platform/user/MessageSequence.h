// Whole-sequence comparison of the messages the recording windows received.
//
// A test names its windows by role (the cast), records what an operation
// sends, and compares every message those windows got, in order, with the
// expected steps. A step may leave wParam, lParam or the WINDOWPOS flags
// open, and an optional step may be missing from what was recorded; nothing
// unexpected may be left over.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "WindowTestSupport.h"

namespace windowing_test {

enum Role { kTop, kChild, kGrandchild, kOther, kPopup, kRoleCount };

struct Cast {
  std::array<HWND, kRoleCount> windows{};
  HWND& operator[](Role role) { return windows[role]; }
  HWND operator[](Role role) const { return windows[role]; }
};

// Undocumented-but-real flags of WINDOWPOS the platform adds.
inline constexpr UINT kNoClientSize = 0x0800;
inline constexpr UINT kNoClientMove = 0x1000;
inline constexpr UINT kStateChanged = 0x8000;

struct Step {
  Role who;
  UINT message;
  std::optional<WPARAM> wParam = std::nullopt;
  std::optional<UINT> posFlags = std::nullopt;
  std::optional<LPARAM> lParam = std::nullopt;
  bool optional = false;
};

inline Step maybe(Step step) {
  step.optional = true;
  return step;
}

inline const char* roleName(Role role) {
  static const char* const names[kRoleCount] = {"top", "child", "grandchild", "other", "popup"};
  return names[role];
}

inline std::string messageName(UINT message) {
  struct Name {
    UINT message;
    const char* name;
  };
  static const Name names[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_CANCELMODE, "WM_CANCELMODE"},
      {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
  };
  for (const Name& n : names) {
    if (n.message == message) return n.name;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%04X", message);
  return hex;
}

// Messages that say nothing about the order under test.
inline bool isNoise(UINT message) {
  return message == WM_SETCURSOR || message == WM_NCHITTEST || message == WM_GETTEXT ||
         message == WM_GETTEXTLENGTH || message == WM_PAINT || message == WM_NCPAINT ||
         message == WM_ERASEBKGND;
}

// The recorded messages of the cast's windows.
inline std::vector<Logged> recordedFor(const Cast& cast) {
  std::vector<Logged> out;
  for (const Logged& e : log()) {
    if (isNoise(e.message)) continue;
    for (HWND h : cast.windows) {
      if (h && e.hwnd == h) {
        out.push_back(e);
        break;
      }
    }
  }
  return out;
}

inline std::string describe(const Cast& cast, HWND hwnd) {
  for (int r = 0; r < kRoleCount; ++r) {
    if (cast.windows[r] == hwnd) return roleName(static_cast<Role>(r));
  }
  return "?";
}

inline std::string describe(const Cast& cast, const Logged& e) {
  std::ostringstream out;
  out << describe(cast, e.hwnd) << " " << messageName(e.message) << " w=" << e.wParam;
  if (e.message == WM_WINDOWPOSCHANGING || e.message == WM_WINDOWPOSCHANGED)
    out << " flags=0x" << std::hex << e.posFlags;
  return out.str();
}

inline std::string describe(const Step& s) {
  std::ostringstream out;
  out << (s.optional ? "[" : "") << roleName(s.who) << " " << messageName(s.message);
  if (s.wParam) out << " w=" << *s.wParam;
  if (s.lParam) out << " l=" << *s.lParam;
  if (s.posFlags) out << " flags=0x" << std::hex << *s.posFlags;
  out << (s.optional ? "]" : "");
  return out.str();
}

inline bool matches(const Cast& cast, const Step& s, const Logged& e) {
  return cast[s.who] == e.hwnd && s.message == e.message && (!s.wParam || *s.wParam == e.wParam) &&
         (!s.lParam || *s.lParam == e.lParam) && (!s.posFlags || *s.posFlags == e.posFlags);
}

// Every recorded message of the cast, in order, against the expected steps.
inline ::testing::AssertionResult sequenceIs(const Cast& cast, const std::vector<Step>& expected) {
  std::vector<Logged> got = recordedFor(cast);
  size_t g = 0;
  std::optional<size_t> failedStep;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (g < got.size() && matches(cast, expected[i], got[g])) {
      ++g;
      continue;
    }
    if (expected[i].optional) continue;
    failedStep = i;
    break;
  }
  if (!failedStep && g == got.size()) return ::testing::AssertionSuccess();
  std::ostringstream out;
  if (failedStep) {
    out << "step " << *failedStep << " (" << describe(expected[*failedStep]) << ") not met";
  } else {
    out << "unexpected messages after the last step";
  }
  out << "\n  expected:";
  for (const Step& s : expected)
    out << "\n    " << describe(s);
  out << "\n  recorded:";
  for (size_t i = 0; i < got.size(); ++i)
    out << "\n  " << (i == g ? "> " : "  ") << describe(cast, got[i]);
  return ::testing::AssertionFailure() << out.str();
}

}  // namespace windowing_test

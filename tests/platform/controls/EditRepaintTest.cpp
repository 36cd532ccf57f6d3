// What an edit control repaints: appending at the end of a long text and
// scrolling to it paint the new lines only (the rest is moved on the
// screen), selection moves paint the lines they touch, and after every such
// partial repaint the image is the one a full repaint gives. Nothing is
// painted inside a change: a burst of changes and scrolls between two turns
// of the loop is painted by the loop, once, and looks as if painted whole.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

constexpr DWORD kLog = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
constexpr DWORD kNoWrapLog = kLog | ES_AUTOHSCROLL | WS_HSCROLL;

// The update rectangle of every WM_PAINT the subclassed control receives.
std::vector<RECT>& paints() {
  static std::vector<RECT> rects;
  return rects;
}
WNDPROC& editProc() {
  static WNDPROC proc = nullptr;
  return proc;
}
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    RECT update{};
    GetUpdateRect(hwnd, &update, FALSE);
    paints().push_back(update);
  }
  return CallWindowProcW(editProc(), hwnd, message, wParam, lParam);
}

std::u16string Lines(int count, int from = 0) {
  std::u16string text;
  for (int i = from; i < from + count; ++i)
    text += u"line " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u" of the log\r\n";
  return text;
}

class EditRepaintTest : public ControlTest {
 protected:
  // A log in a parent that clips its children, as forms and frames do.
  HWND log(DWORD style, const std::u16string& text, bool parentClips = true) {
    const auto parentStyle = static_cast<DWORD>(GetWindowLongW(parent_, GWL_STYLE));
    SetWindowLongW(parent_, GWL_STYLE,
                   static_cast<LONG>(parentClips ? parentStyle | WS_CLIPCHILDREN
                                                 : parentStyle & ~WS_CLIPCHILDREN));
    HWND box = control(u"EDIT", text.c_str(), style, {10, 10, 210, 110}, 60, WS_EX_CLIENTEDGE);
    SendMessageW(box, EM_LIMITTEXT, 0, 0);
    editProc() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    pump();
    paints().clear();
    return box;
  }

  static int lineHeight(HWND box) {
    LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
    LRESULT second = SendMessageW(box, EM_LINEINDEX, 1, 0);
    return GET_Y_LPARAM(SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0)) -
           GET_Y_LPARAM(first);
  }

  static void append(HWND box, const std::u16string& text) {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
    SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
  }

  // The caret at the start, scrolled into view.
  static void toStart(HWND box) {
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
  }

  static std::vector<COLORREF> image(HWND box) {
    RECT client{};
    GetClientRect(box, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(box);
    for (int y = client.top; y < client.bottom; ++y) {
      for (int x = client.left; x < client.right; ++x)
        pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(box, dc);
    return pixels;
  }

  // The control's image now against the image of a full repaint.
  static void expectAsFullRepaint(HWND box, const std::string& step) {
    pump();
    const std::vector<COLORREF> partial = image(box);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(partial == image(box)) << step;
  }
};

TEST_F(EditRepaintTest, AppendingAtTheEndPaintsOnlyTheNewLines) {
  for (DWORD style : {kLog, kNoWrapLog}) {
    HWND box = log(style, Lines(200));
    append(box, u"");
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    pump();
    paints().clear();
    const int height = lineHeight(box);
    RECT client{};
    GetClientRect(box, &client);
    for (int i = 0; i < 5; ++i) {
      append(box, Lines(1, 200 + i));
      pump();
    }
    ASSERT_FALSE(paints().empty());
    for (const RECT& painted : paints()) {
      // The line that came into view and the (empty) last line after it,
      // not the lines that only moved up.
      EXPECT_GE(painted.top, client.bottom - 3 * height) << style;
      EXPECT_EQ(painted.bottom, client.bottom) << style;
    }
    expectAsFullRepaint(box, "appended");
    DestroyWindow(box);
  }
}

TEST_F(EditRepaintTest, AChangePaintsNothingUntilTheLoopRuns) {
  HWND box = log(kLog, Lines(30));
  SetFocus(box);
  pump();
  paints().clear();
  append(box, Lines(2, 30));
  SendMessageW(box, WM_CHAR, u'x', 0);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Lines(40).c_str()));
  SendMessageW(box, EM_LINESCROLL, 0, 5);
  EXPECT_TRUE(paints().empty());
  pump();
  EXPECT_EQ(paints().size(), 1u);
  expectAsFullRepaint(box, "after the burst");
  DestroyWindow(box);
}

TEST_F(EditRepaintTest, LinesAppendedInABurstAreThePaintedPart) {
  for (DWORD style : {kLog, kNoWrapLog}) {
    HWND box = log(style, Lines(200));
    append(box, u"");
    pump();
    paints().clear();
    const int height = lineHeight(box);
    RECT client{};
    GetClientRect(box, &client);
    for (int i = 0; i < 3; ++i)
      append(box, Lines(1, 200 + i));
    pump();
    ASSERT_EQ(paints().size(), 1u) << style;
    // The three new lines and the empty last line; the lines above moved.
    EXPECT_GE(paints()[0].top, client.bottom - 5 * height) << style;
    expectAsFullRepaint(box, "three lines");
    DestroyWindow(box);
  }
}

// A log's caret put at its start and back at its end between two paints
// (as a handler that settles the caret and then scrolls the log does):
// only the new line and the caret's lines are painted.
TEST_F(EditRepaintTest, AViewThatComesBackPaintsOnlyWhatChanged) {
  for (bool focused : {false, true}) {
    HWND box = log(kLog, Lines(200));
    if (focused) SetFocus(box);
    append(box, u"");
    pump();
    paints().clear();
    const int height = lineHeight(box);
    RECT client{};
    GetClientRect(box, &client);
    append(box, Lines(1, 200));
    toStart(box);
    append(box, u"");
    pump();
    ASSERT_EQ(paints().size(), 1u) << focused;
    EXPECT_GE(paints()[0].top, client.bottom - 4 * height) << focused;
    expectAsFullRepaint(box, focused ? "focused" : "not focused");
    DestroyWindow(box);
  }
}

TEST_F(EditRepaintTest, AViewThatLeavesWithNothingElseWaitingIsPainted) {
  HWND box = log(kLog, Lines(200));
  append(box, u"");
  pump();
  paints().clear();
  toStart(box);
  pump();
  EXPECT_EQ(paints().size(), 1u);
  expectAsFullRepaint(box, "at the start");
  DestroyWindow(box);
}

// A parent that does not clip its children paints over them: lines are not
// moved on the screen then, since something may have painted on them
// between the scroll and the paint.
TEST_F(EditRepaintTest, UnderAParentThatPaintsOverItsChildrenAScrollRepaintsAll) {
  HWND box = log(kLog, Lines(200), /*parentClips=*/false);
  append(box, u"");
  pump();
  paints().clear();
  append(box, Lines(1, 200));
  RECT over{0, 20, 120, 36};
  HDC dc = GetDC(box);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &over, red);
  DeleteObject(red);
  ReleaseDC(box, dc);
  InvalidateRect(box, &over, FALSE);
  pump();
  RECT client{};
  GetClientRect(box, &client);
  ASSERT_EQ(paints().size(), 1u);
  EXPECT_TRUE(EqualRect(&paints()[0], &client));
  expectAsFullRepaint(box, "painted over");
  DestroyWindow(box);
}

// Bursts of changes, scrolls and selection moves with no paint between them.
TEST_F(EditRepaintTest, ABurstLooksAsPaintedWhole) {
  struct Burst {
    const char* name;
    std::function<void(HWND)> run;
  };
  auto lines = [](int count, int from) {
    return [=](HWND box) {
      for (int i = 0; i < count; ++i)
        append(box, Lines(1, from + i));
    };
  };
  auto scroll = [](int by) { return [=](HWND box) { SendMessageW(box, EM_LINESCROLL, 0, by); }; };
  const std::vector<Burst> bursts = {
      {"two lines at the end", lines(2, 100)},
      {"more lines than a page", lines(30, 200)},
      {"down and up by less than a page in all",
       [&](HWND box) {
         scroll(-2)(box);
         scroll(1)(box);
         scroll(-1)(box);
       }},
      {"scrolls that add up to more than a page",
       [&](HWND box) {
         for (int i = 0; i < 8; ++i)
           scroll(-2)(box);
       }},
      {"scroll, change a shown line, scroll back",
       [&](HWND box) {
         scroll(-1)(box);
         const auto at = static_cast<WPARAM>(SendMessageW(
             box, EM_LINEINDEX, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0) + 1, 0));
         SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at + 4));
         SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"CHANGED\r\nTWO"));
         scroll(1)(box);
       }},
      {"type, select, then append",
       [&](HWND box) {
         SendMessageW(box, WM_CHAR, u'q', 0);
         SendMessageW(box, EM_SETSEL, 5, 60);
         lines(1, 300)(box);
       }},
      {"to the start and back to the end",
       [&](HWND box) {
         lines(1, 600)(box);
         toStart(box);
         append(box, u"");
       }},
      {"to the start and staying there",
       [&](HWND box) {
         lines(1, 610)(box);
         toStart(box);
       }},
      {"to the start, a character typed there, back to the end",
       [&](HWND box) {
         toStart(box);
         SendMessageW(box, WM_CHAR, u'w', 0);
         append(box, u"");
       }},
      {"to the start, a line made there, back to the end",
       [&](HWND box) {
         toStart(box);
         SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"new\r\n"));
         append(box, u"");
       }},
      {"to the start, a selection made near the end, back",
       [&](HWND box) {
         const LRESULT home = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
         toStart(box);
         const LRESULT last = SendMessageW(box, EM_GETLINECOUNT, 0, 0) - 2;
         const auto at = static_cast<WPARAM>(SendMessageW(box, EM_LINEINDEX, last, 0));
         SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at + 3));
         SendMessageW(box, EM_LINESCROLL, 0, home);
       }},
      {"to the start, back to a line short of the end",
       [&](HWND box) {
         toStart(box);
         append(box, u"");
         scroll(-1)(box);
       }},
      {"a text set, then lines", [&](HWND box) {
         SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Lines(20, 5).c_str()));
         lines(3, 400)(box);
       }}};
  for (DWORD style : {kLog, kNoWrapLog}) {
    HWND box = log(style, Lines(60));
    SetFocus(box);
    append(box, u"");
    pump();
    for (const Burst& burst : bursts) {
      paints().clear();
      burst.run(box);
      EXPECT_TRUE(paints().empty()) << burst.name;
      expectAsFullRepaint(box, std::string(burst.name) + (style == kLog ? " (wrapped)" : ""));
    }
    DestroyWindow(box);
  }
}

// A window procedure in front of the control's that paints the window
// itself takes the update region; the control then invalidates again.
LRESULT SwallowPaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return CallWindowProcW(editProc(), hwnd, message, wParam, lParam);
  PAINTSTRUCT ps{};
  BeginPaint(hwnd, &ps);
  EndPaint(hwnd, &ps);
  return 0;
}

TEST_F(EditRepaintTest, ChangesAfterAPaintTheControlDidNotSeeArePainted) {
  HWND box = log(kLog, Lines(10));
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Lines(12).c_str()));
  SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowPaintProc));
  pump();
  SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc));
  paints().clear();
  append(box, u"one more line");
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(box, &update, FALSE));
  pump();
  EXPECT_FALSE(paints().empty());
  DestroyWindow(box);
}

TEST_F(EditRepaintTest, ASelectionMoveWithoutFocusPaintsNothing) {
  HWND box = log(kLog, Lines(50));
  SendMessageW(box, EM_SETSEL, 10, 40);
  SendMessageW(box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(box, &update, FALSE));
}

TEST_F(EditRepaintTest, PartialRepaintsDrawWhatAFullRepaintDraws) {
  struct Step {
    const char* name;
    std::function<void(HWND)> run;
  };
  auto select = [](WPARAM from, LPARAM to) {
    return [=](HWND box) { SendMessageW(box, EM_SETSEL, from, to); };
  };
  auto scroll = [](int lines) {
    return [=](HWND box) { SendMessageW(box, EM_LINESCROLL, 0, lines); };
  };
  auto replace = [](const char16_t* text) {
    return
        [=](HWND box) { SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text)); };
  };
  const std::vector<Step> steps = {
      {"scroll down three", scroll(3)},
      {"scroll up two", scroll(-2)},
      {"select over three lines", select(30, 100)},
      {"select elsewhere", select(60, 62)},
      {"select, then scroll before painting",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 120, 125);
         SendMessageW(box, EM_LINESCROLL, 0, 1);
       }},
      {"replace with a line break", replace(u"new\r\nline")},
      {"delete over a line break",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 20, 50);
         SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u""));
       }},
      {"type in a long paragraph",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 3, 3);
         SendMessageW(box, WM_CHAR, u'x', 0);
       }},
      {"type at the start of a wrapped line",
       [](HWND box) {
         const auto at = static_cast<WPARAM>(SendMessageW(box, EM_LINEINDEX, 1, 0));
         SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at));
         SendMessageW(box, WM_CHAR, u'z', 0);
       }},
      {"erase at the start of a wrapped line",
       [](HWND box) {
         const auto at = static_cast<WPARAM>(SendMessageW(box, EM_LINEINDEX, 2, 0));
         SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at));
         SendMessageW(box, WM_CHAR, u'\b', 0);
         SendMessageW(box, WM_CHAR, u'\b', 0);
       }},
      {"type a long word in a wrapped line",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 30, 30);
         for (char16_t c : std::u16string_view(u"overlongwordthatmovesthebreaks"))
           SendMessageW(box, WM_CHAR, c, 0);
       }},
      {"append and scroll to the end", [](HWND box) { append(box, Lines(3, 7)); }},
      {"scroll a page up", [](HWND box) { SendMessageW(box, WM_VSCROLL, SB_PAGEUP, 0); }},
      {"caret to the start",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 0, 0);
         SendMessageW(box, EM_SCROLLCARET, 0, 0);
       }},
  };
  for (DWORD style : {kLog, kNoWrapLog}) {
    // The first paragraph is long enough to wrap where words wrap.
    HWND box = log(
        style, u"a long first paragraph that wraps over several lines of the box\r\n" + Lines(40));
    SetFocus(box);
    pump();
    for (const Step& step : steps) {
      step.run(box);
      expectAsFullRepaint(box, std::string(step.name) + (style == kLog ? " (wrapped)" : ""));
    }
    DestroyWindow(box);
  }
}

}  // namespace
}  // namespace controls_test

// What an edit control repaints: appending at the end of a long text and
// scrolling to it paint the new lines only (the rest is moved on the
// screen), selection moves paint the lines they touch, and after every such
// partial repaint the image is the one a full repaint gives.
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
  HWND log(DWORD style, const std::u16string& text) {
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

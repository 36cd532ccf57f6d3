// A multi-line TextBox with a vertical scroll bar grown the way a log grows
// (the caret past the end, each line as SelText): the lines reach the box
// without painting it, the loop paints it once, and what the screen then
// shows is what painting the box from scratch shows. Lines appended while
// nothing else reaches the window are handed to it together: whatever looks
// at the box sees what appending them one by one gives.
#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "platform/controls.h"
#include "runtime/controls/TextBox.h"

namespace controls_test {
namespace {

constexpr LONG kPastTheEnd = 0x7FFFFFFF;

// The window's pixels, its border and scroll bar included.
std::vector<COLORREF> Pixels(HWND hwnd) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  std::vector<COLORREF> pixels;
  HDC dc = GetWindowDC(hwnd);
  for (int y = 0; y < window.bottom - window.top; ++y) {
    for (int x = 0; x < window.right - window.left; ++x)
      pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(hwnd, dc);
  return pixels;
}

std::u16string Line(int n) {
  const std::string text = "12:00:0" + std::to_string(n % 10) + " Sending packet " +
                           std::to_string(n) + " of 400 with some words to wrap\r\n";
  return std::u16string(text.begin(), text.end());
}

class TextBoxPaintingTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form_ = makeForm();
    box_ = place<rt::TextBox>(*form_, 180, 330, 4000, 2000);
    box_->multiLine_ = VARIANT_TRUE;
    box_->scrollBars_ = 2;
    listen(box_->dispatch(), skiffwire::DIID_TextBoxEvents);
    ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
    settle();
    raised_.clear();
  }

  void append(int from, int count) {
    ASSERT_EQ(box_->put_SelStart(kPastTheEnd), S_OK);
    for (int i = from; i < from + count; ++i)
      ASSERT_EQ(box_->put_SelText(Bstr(Line(i)).get()), S_OK);
  }

  // Paints what waits, then compares with the box painted whole.
  void expectAsPaintedWhole(const std::string& step) {
    settle();
    const std::vector<COLORREF> shown = Pixels(box_->hwnd());
    RedrawWindow(box_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_TRUE(shown == Pixels(box_->hwnd())) << step;
  }

  ComPtr<rt::Form> form_;
  ComPtr<rt::TextBox> box_;
};

TEST_F(TextBoxPaintingTest, AppendedLinesWaitForTheLoopToBePainted) {
  append(0, 3);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(box_->hwnd(), &update, FALSE));
  EXPECT_EQ(eventsOf(box_->dispatch(), rt::kTextBoxChange).size(), 3u);
  settle();
  EXPECT_FALSE(GetUpdateRect(box_->hwnd(), &update, FALSE));
}

TEST_F(TextBoxPaintingTest, AfterABurstTheScreenShowsWhatAFullPaintShows) {
  struct Burst {
    const char* name;
    std::function<void()> run;
  };
  const std::vector<Burst> bursts = {
      {"a page and more of lines", [&] { append(0, 40); }},
      {"one line at the end", [&] { append(40, 1); }},
      {"three lines, the caret settled at the start and scrolled back",
       [&] {
         append(41, 3);
         ASSERT_EQ(box_->put_SelStart(0), S_OK);
         ASSERT_EQ(box_->put_SelStart(kPastTheEnd), S_OK);
       }},
      {"many lines", [&] { append(44, 300); }},
      {"a Text let, then lines",
       [&] {
         ASSERT_EQ(box_->put_Text(Bstr(Line(1) + Line(2)).get()), S_OK);
         append(500, 2);
       }},
  };
  for (const Burst& burst : bursts) {
    burst.run();
    expectAsPaintedWhole(burst.name);
  }
  Bstr text;
  ASSERT_EQ(box_->get_Text(text.out()), S_OK);
  EXPECT_EQ(std::u16string(text.view()), Line(1) + Line(2) + Line(500) + Line(501));
}

struct BoxState {
  std::u16string text;
  LONG selStart = 0;
  LRESULT firstVisible = 0;
  LRESULT lineCount = 0;
  size_t changes = 0;
  bool operator==(const BoxState&) const = default;
};

class HeldAppendsTest : public TextBoxPaintingTest {
 protected:
  BoxState state() {
    BoxState s;
    Bstr text;
    EXPECT_EQ(box_->get_Text(text.out()), S_OK);
    s.text = text.view();
    box_->get_SelStart(&s.selStart);
    s.firstVisible = SendMessageW(box_->hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0);
    s.lineCount = SendMessageW(box_->hwnd(), EM_GETLINECOUNT, 0, 0);
    s.changes = eventsOf(box_->dispatch(), rt::kTextBoxChange).size();
    return s;
  }
  // The same lines with a look at the window between each two, so that none
  // is held.
  BoxState appendedOneByOne(int count) {
    expectOk(box_->put_Text(Bstr(u"").get()));
    raised_.clear();
    EXPECT_EQ(box_->put_SelStart(kPastTheEnd), S_OK);
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(box_->put_SelText(Bstr(Line(i)).get()), S_OK);
      SendMessageW(box_->hwnd(), WM_GETTEXTLENGTH, 0, 0);
    }
    return state();
  }
  static void expectOk(HRESULT hr) { EXPECT_EQ(hr, S_OK); }
  // Read from the window's frame, without a message to the window.
  SCROLLINFO verticalBar() {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(box_->hwnd(), SB_VERT, &info));
    return info;
  }
};

TEST_F(HeldAppendsTest, EveryLookSeesTheLinesAppendedOneByOne) {
  struct Look {
    const char* name;
    std::function<void()> look;
  };
  const std::vector<Look> looks = {
      {"Text",
       [&] {
         Bstr t;
         box_->get_Text(t.out());
       }},
      {"SelStart",
       [&] {
         LONG s = 0;
         box_->get_SelStart(&s);
       }},
      {"the window's line count", [&] { SendMessageW(box_->hwnd(), EM_GETLINECOUNT, 0, 0); }},
      {"the message loop", [&] { settle(); }},
  };
  for (int count : {1, 2, 40}) {
    const BoxState expected = appendedOneByOne(count);
    for (const Look& look : looks) {
      expectOk(box_->put_Text(Bstr(u"").get()));
      raised_.clear();
      append(0, count);
      look.look();
      EXPECT_TRUE(state() == expected) << look.name << ", " << count << " lines";
    }
  }
}

TEST_F(HeldAppendsTest, TheLoopHandsHeldLinesToTheWindowUnasked) {
  ShowWindow(box_->hwnd(), SW_HIDE);  // no paint comes to look at the text
  settle();
  append(0, 40);
  settle();
  const SCROLLINFO bar = verticalBar();
  EXPECT_GT(bar.nPos, 0);
  EXPECT_GE(bar.nMax, 39);
}

TEST_F(HeldAppendsTest, ARebuiltWindowIsWokenToo) {
  append(0, 3);  // wakes the first window
  expectOk(PutByName(box_->dispatch(), u"ScrollBars", Variant::I4(3)));
  ShowWindow(box_->hwnd(), SW_HIDE);
  settle();
  append(3, 40);
  settle();
  EXPECT_GE(verticalBar().nMax, 42);
}

TEST_F(HeldAppendsTest, TheWindowsLimitStillCutsTheText) {
  expectOk(PutByName(box_->dispatch(), u"MaxLength", Variant::I4(10)));
  append(0, 0);
  for (const char16_t* piece : {u"abcdef", u"ghijkl", u"mn"})
    expectOk(box_->put_SelText(Bstr(piece).get()));
  const BoxState after = state();
  EXPECT_EQ(after.text, u"abcdefghij");
  EXPECT_EQ(after.selStart, 10);
  EXPECT_EQ(after.changes, 3u);
}

}  // namespace
}  // namespace controls_test

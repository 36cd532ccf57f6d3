#include <gtest/gtest.h>

#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

using FormWindow = FormsTest;

constexpr DWORD StyleMask =
    WS_SYSMENU | WS_CAPTION | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME | WS_DLGFRAME;
constexpr DWORD ExStyleMask = WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;

struct BorderCase {
  int borderStyle;
  bool minMax;    // both buttons on
  bool help;      // the context-help property
  DWORD style;    // after Show
  DWORD exStyle;  // after Show
};

TEST_F(FormWindow, BorderStylesGiveTheirStylesOnceShown) {
  constexpr DWORD S = WS_SYSMENU, C = WS_CAPTION, X = WS_EX_APPWINDOW, T = WS_EX_TOOLWINDOW;
  constexpr DWORD Sizable = S | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME;
  const BorderCase cases[] = {
      {0, true, false, S, X},
      {1, true, false, S | C, X},
      {2, true, false, Sizable | C, X},
      {3, true, false, S | C | WS_DLGFRAME, X},
      {4, true, false, S | C, X | T},
      {5, true, false, Sizable | C, X | T},
      {6, true, false, Sizable, X},
      {7, true, false, Sizable, X | T},
      {9, true, false, S, X},
      {3, false, true, S | C | WS_DLGFRAME, X | WS_EX_CONTEXTHELP},
      {4, false, true, S | C, X | T},  // a tool window gets no help button
      {2, false, false, S | C | WS_THICKFRAME, X},
  };
  for (const BorderCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "border style " << c.borderStyle << " minMax " << c.minMax
                                    << " help " << c.help);
    auto form = MakeForm("Form1");
    form->settings.borderStyle = c.borderStyle;
    form->settings.minButton = form->settings.maxButton = c.minMax;
    form->settings.whatsThisHelp = c.help;
    rt::FormStateOf(form.Get());
    ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
    HWND hwnd = StateOf(*form).windowHandle;
    // Until shown, the maximize box is always there and the tool-window bit never.
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & StyleMask, c.style);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)) & ExStyleMask, c.exStyle);
    rt::Unload(form.Get());
  }
}

TEST_F(FormWindow, StartPositionsPlaceTheWindow) {
  struct Case {
    int position;
    POINT expected;  // top-left of the window; {-1, -1}: centred
  };
  for (Case c : {Case{0, {100, 100}}, Case{1, {-1, -1}}, Case{2, {-1, -1}}}) {
    auto form = MakeForm("Form1");
    form->settings.startUpPosition = c.position;
    form->settings.borderStyle = 0;  // no frame: window size = client size
    form->settings.controlBox = false;
    form->text.clear();
    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    RECT r{};
    GetWindowRect(StateOf(*form).windowHandle, &r);
    if (c.expected.x < 0) {
      EXPECT_EQ(r.left, (1024 - (r.right - r.left)) / 2) << c.position;
      EXPECT_EQ(r.top, (768 - (r.bottom - r.top)) / 2) << c.position;
    } else {
      EXPECT_EQ(r.left, c.expected.x) << c.position;
      EXPECT_EQ(r.top, c.expected.y) << c.position;
    }
    rt::Unload(form.Get());
  }
}

TEST_F(FormWindow, AFormOnA144DpiScreenScalesItsClientSize) {
  display_->changeDisplay({1024, 768}, 144);
  auto form = MakeForm("Form1");
  form->settings.clientWidth = 401;  // 601.5 rounds to 601 with the 0.4999 rule
  form->settings.clientHeight = 300;
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  EXPECT_EQ(StateOf(*form).dpi, 144);
  RECT client{};
  GetClientRect(StateOf(*form).windowHandle, &client);
  EXPECT_EQ(client.right, 601);
  EXPECT_EQ(client.bottom, 450);
  rt::Unload(form.Get());
  display_->changeDisplay({1024, 768}, 96);
}

TEST_F(FormWindow, TheEndOfTheSessionAsksWithMode2AndACancelRefusesIt) {
  auto form = MakeForm("Form1");
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  form->cancelUnload = 1;
  EXPECT_EQ(SendMessageW(StateOf(*form).windowHandle, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(form->unloadModes, std::vector<int>{2});
  form->cancelUnload = 0;
  EXPECT_NE(SendMessageW(StateOf(*form).windowHandle, WM_QUERYENDSESSION, 0, 0), FALSE);
}

}  // namespace
}  // namespace forms_test

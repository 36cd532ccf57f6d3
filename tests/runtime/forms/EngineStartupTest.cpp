#include <gtest/gtest.h>

#include "runtime/forms/HwndMap.h"
#include "runtime/forms/WindowRecord.h"
#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

using EngineStartup = FormsTest;

struct ClassCase {
  const char16_t* name;
  UINT style;
  const char16_t* cursorOf;  // the class whose cursor it keeps; null: none
};

TEST_F(EngineStartup, RegistersEachClassWithItsStyleAndKeepsTheBaseClassCursor) {
  const ClassCase cases[] = {
      {u"BrammelFormDC", 0x28, u"arrow"},
      {u"BrammelForm", 0x08, u"arrow"},
      {u"BrammelMDIForm", 0x08, u"arrow"},
      {u"BrammelUserControlDC", 0x28, u"arrow"},
      {u"BrammelUserControl", 0x08, u"arrow"},
      {u"BrammelCommandButton", 0x03, u"BUTTON"},
      {u"BrammelCheckBox", 0x0B, u"BUTTON"},
      {u"BrammelFrame", 0x0B, u"BUTTON"},
      {u"BrammelOptionButton", 0x0B, u"BUTTON"},
      {u"BrammelHSrollBar", 0x0B, u"SCROLLBAR"},
      {u"BrammelVSrollBar", 0x0B, u"SCROLLBAR"},
      {u"BrammelListBox", 0x0B, u"LISTBOX"},
      {u"BrammelComboBox", 0x0B, u"COMBOBOX"},
      {u"BrammelTextBox", 0x0B, u"EDIT"},
      {u"BrammelLabel", 0x0B, u"STATIC"},
      {u"BrammelImage", 0x0B, u"STATIC"},
      {u"BrammelPictureBox", 0x08, u"STATIC"},
      {u"BrammelPictureBoxDC", 0x28, u"STATIC"},
      {u"BrammelGenericControl", 0x0B, u"STATIC"},
      {u"BrammelWebViewControl", 0x0B, u"STATIC"},
      {u"NxBubbleRT6", 0x800, nullptr},
      {u"BrammelRT6Main", 0, nullptr},
  };
  const HINSTANCE instance = rt::EngineInstance();
  for (const ClassCase& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(instance, c.name, &wc));
    EXPECT_EQ(wc.style, c.style);
    HCURSOR expected = nullptr;
    if (c.cursorOf && std::u16string_view(c.cursorOf) == u"arrow") {
      expected = LoadCursorW(nullptr, IDC_ARROW);
    } else if (c.cursorOf) {
      WNDCLASSEXW base{};
      base.cbSize = sizeof base;
      ASSERT_TRUE(GetClassInfoExW(nullptr, c.cursorOf, &base));
      expected = base.hCursor;
    }
    EXPECT_EQ(wc.hCursor, expected);
  }
  // The spelling with the c is a trace label, not a class.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  EXPECT_FALSE(GetClassInfoExW(instance, u"BrammelHScrollBar", &wc));
  // A text box keeps the edit class's I-beam.
  ASSERT_TRUE(GetClassInfoExW(instance, u"BrammelTextBox", &wc));
  EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, IDC_IBEAM));
}

TEST_F(EngineStartup, TheHiddenApplicationWindowIsAVisibleSizelessToolWindow) {
  ASSERT_EQ(rt::EnsureHiddenWindow(), S_OK);
  HWND hidden = rt::CurrentEngineContext().hiddenWindow;
  char16_t text[32] = {};
  GetWindowTextW(hidden, text, 32);
  EXPECT_EQ(std::u16string_view(text), u"Plumbridge");
  GetClassNameW(hidden, text, 32);
  EXPECT_EQ(std::u16string_view(text), u"BrammelRT6Main");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hidden, GWL_STYLE)) & 0xFFFF0000u, 0x94000000u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hidden, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW,
            WS_EX_TOOLWINDOW);
  RECT r{};
  GetWindowRect(hidden, &r);
  EXPECT_EQ(r.right - r.left, 0);
  // Created once per thread.
  ASSERT_EQ(rt::EnsureHiddenWindow(), S_OK);
  EXPECT_EQ(rt::CurrentEngineContext().hiddenWindow, hidden);
}

TEST_F(EngineStartup, ADisplayChangeRecomputesTheTwipsPerPixel) {
  ASSERT_EQ(rt::EnsureHiddenWindow(), S_OK);
  display_->changeDisplay({1280, 1024}, 120);
  EXPECT_EQ(rt::CurrentScreenMetrics().twipsPerPixelX, 12.0);
  EXPECT_EQ(rt::CurrentScreenMetrics().twipsPerPixelY, 12.0);
  EXPECT_EQ(rt::CurrentScreenMetrics().widthPixels, 1280);
  display_->changeDisplay({1024, 768}, 96);
  EXPECT_EQ(rt::CurrentScreenMetrics().twipsPerPixelX, 15.0);
  const auto units = rt::CurrentScreenMetrics().unitsY;
  EXPECT_EQ(units[1], 1.0 / 15);
  EXPECT_EQ(units[4], 16.0);
  EXPECT_EQ(units[5], 96.0);
}

TEST_F(EngineStartup, LayoutRoundingIsHalfAwayFromZeroJustBelowOneHalf) {
  const std::pair<double, int> cases[] = {{0.5, 0},    {0.5001, 1}, {1.49, 1},    {-0.5, 0},
                                          {-0.51, -1}, {2.0, 2},    {12.5001, 13}};
  for (auto [value, expected] : cases)
    EXPECT_EQ(rt::RoundLayout(value), expected) << value;
}

TEST_F(EngineStartup, CursorTableFollowsTheMousePointerValues) {
  EXPECT_EQ(rt::CursorForMousePointer(0), LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(rt::CursorForMousePointer(3), LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_EQ(rt::CursorForMousePointer(11), LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(rt::CursorForMousePointer(19), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(EngineStartup, AControlCreatedUnderAParkedRecordGetsTheParkingWindowAndStaysHidden) {
  auto form = MakeForm("Form1");
  rt::FormState* state = rt::FormStateOf(form.Get());
  auto parked = MakeControl("Parked");
  parked->className = u"BrammelTextBox";
  parked->style = WS_VISIBLE;
  rt::ControlRecord& record = rt::BuildControlRecord(*state, nullptr, parked.Get());
  record.window.parked = true;
  ASSERT_EQ(rt::CreateWindowForRecord(record.window, nullptr, nullptr), S_OK);
  EXPECT_EQ(GetParent(record.window.hwnd), rt::ParkingWindow());
  EXPECT_FALSE(IsWindowVisible(record.window.hwnd));
}

TEST(HwndMapTest, HandlesDifferingOnlyOutsideBits4To19ShareABucketAndStayApart) {
  rt::HwndMap map;
  rt::WindowRecord a, b, c;
  HWND h1 = reinterpret_cast<HWND>(uintptr_t{0x00012340});
  HWND h2 = reinterpret_cast<HWND>(uintptr_t{0x01012340});  // same bits 4..19
  HWND h3 = reinterpret_cast<HWND>(uintptr_t{0x00012348});  // differs below bit 4
  EXPECT_EQ(rt::HwndMap::BucketOf(h1), 0x1234u);
  EXPECT_EQ(rt::HwndMap::BucketOf(h2), rt::HwndMap::BucketOf(h1));
  EXPECT_EQ(rt::HwndMap::BucketOf(h3), rt::HwndMap::BucketOf(h1));
  EXPECT_EQ(map.find(h1), nullptr);
  map.insert(h1, &a);
  map.insert(h2, &b);
  map.insert(h3, &c);
  EXPECT_EQ(map.find(h1), &a);
  EXPECT_EQ(map.find(h2), &b);
  EXPECT_EQ(map.find(h3), &c);
  map.remove(h2);
  EXPECT_EQ(map.find(h2), nullptr);
  EXPECT_EQ(map.find(h1), &a);
  EXPECT_EQ(map.size(), 2u);
  map.insert(h1, &b);
  EXPECT_EQ(map.find(h1), &b);
  EXPECT_EQ(map.size(), 2u);
}

}  // namespace
}  // namespace forms_test

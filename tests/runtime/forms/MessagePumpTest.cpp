#include <gtest/gtest.h>

#include "runtime/forms/TimerHost.h"
#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

using MessagePump = FormsTest;

TEST_F(MessagePump, TheMainLoopReturnsAtOnceWithoutForms) {
  rt::RunMainLoop();
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(MessagePump, TheMainLoopEndsWhenTheLastFormIsGone) {
  auto a = MakeForm("A");
  auto b = MakeForm("B");
  rt::Show(a.Get(), 0, nullptr);
  rt::Show(b.Get(), 0, nullptr);
  PostMessageW(StateOf(*a).windowHandle, WM_CLOSE, 0, 0);
  PostMessageW(StateOf(*b).windowHandle, WM_CLOSE, 0, 0);
  rt::RunMainLoop();
  EXPECT_EQ(rt::LoadedFormCount(), 0);
  EXPECT_EQ(a->unloadModes, std::vector<int>{0});
}

TEST_F(MessagePump, YieldHandlesEveryQueuedMessageAndReturnsTheLoadedFormCount) {
  auto a = MakeForm("A");
  auto b = MakeForm("B");
  int seen = 0;
  a->onWindowMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_APP) return std::nullopt;
    ++seen;
    return 0;
  };
  rt::Show(a.Get(), 0, nullptr);
  rt::Show(b.Get(), 0, nullptr);
  for (int i = 0; i < 5; ++i)
    PostMessageW(StateOf(*a).windowHandle, WM_APP, 0, 0);
  EXPECT_EQ(rt::Yield(), 2);
  EXPECT_EQ(seen, 5);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

LRESULT RecordMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == 0x1052 || msg == WM_NULL) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(msg) + 1);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST_F(MessagePump, Message0x1052ToTheFocusHelperClassArrivesAsANullMessage) {
  for (const char16_t* cls : {u"NxFocusRT6", u"NxFocusRT7"}) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordMessage;
    wc.lpszClassName = cls;
    RegisterClassExW(&wc);
  }
  auto form = MakeForm("Form1");
  rt::Show(form.Get(), 0, nullptr);  // the loops run only with a form
  HWND helper = CreateWindowExW(0, u"NxFocusRT6", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  HWND other = CreateWindowExW(0, u"NxFocusRT7", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
  PostMessageW(helper, 0x1052, 0, 0);
  PostMessageW(other, 0x1052, 0, 0);
  rt::Yield();
  EXPECT_EQ(GetWindowLongPtrW(helper, GWLP_USERDATA), WM_NULL + 1);
  EXPECT_EQ(GetWindowLongPtrW(other, GWLP_USERDATA), 0x1052 + 1);
  DestroyWindow(helper);
  DestroyWindow(other);
}

TEST_F(MessagePump, KeyPreviewLetsTheFormTakeAKeyBeforeItsTextBox) {
  auto form = MakeForm("Form1");
  form->settings.keyPreview = true;
  auto text = AddControl(*form, "Text1", u"BrammelTextBox", {10, 10, 200, 30}, 0);
  std::vector<WPARAM> previewed;
  form->onWindowMessage = [&](UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_CHAR) return std::nullopt;
    previewed.push_back(wp);
    if (wp == 'x') return 0;  // the form's handler takes it
    return std::nullopt;
  };
  rt::Show(form.Get(), 0, nullptr);
  Settle();
  ASSERT_EQ(GetFocus(), text->hwnd());
  display_->typeText(u"axb");
  Settle();
  EXPECT_EQ(previewed, (std::vector<WPARAM>{'a', 'x', 'b'}));
  char16_t buffer[16] = {};
  GetWindowTextW(text->hwnd(), buffer, 16);
  EXPECT_EQ(std::u16string_view(buffer), u"ab");
}

TEST_F(MessagePump, FormTimersRaiseTheTimerEventOnTheVirtualClock) {
  auto form = MakeForm("Form1");
  auto timer = MakeControl("Timer1");
  rt::FormState* state = rt::FormStateOf(form.Get());
  rt::ControlRecord& record = rt::BuildControlRecord(*state, nullptr, timer.Get());
  rt::AddTimer(record, 250, true);
  rt::Show(form.Get(), 0, nullptr);
  advance(100);
  EXPECT_TRUE(eventNames(1).empty());
  advance(150);
  EXPECT_EQ(eventNames(1), std::vector<std::string>{"Timer1"});
  rt::SetTimerInterval(record, 0);
  advance(1000);
  EXPECT_EQ(eventNames(1).size(), 1u);
  rt::SetTimerInterval(record, 100);
  advance(100);
  EXPECT_EQ(eventNames(1).size(), 2u);
  rt::SetTimerEnabled(record, false);
  advance(1000);
  EXPECT_EQ(eventNames(1).size(), 2u);
}

TEST_F(MessagePump, AWindowlessFormRunsItsTimersThroughAThreadTimerClosure) {
  auto form = MakeControl("Windowless");
  rt::FormState* state = rt::FormStateOf(form.Get());
  state->windowless = true;
  auto timer = MakeControl("Timer1");
  rt::ControlRecord& record = rt::BuildControlRecord(*state, nullptr, timer.Get());
  rt::AddTimer(record, 100, false);
  rt::SetTimerEnabled(record, true);
  advance(100);
  EXPECT_EQ(eventNames(1), std::vector<std::string>{"Timer1"});
  rt::SetTimerEnabled(record, false);
  advance(500);
  EXPECT_EQ(eventNames(1).size(), 1u);
}

}  // namespace
}  // namespace forms_test

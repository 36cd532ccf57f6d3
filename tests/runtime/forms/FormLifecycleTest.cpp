#include <gtest/gtest.h>

#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/forms/Diagnostics.h"
#include "tests/runtime/forms/FormsTestSupport.h"

namespace forms_test {
namespace {

using FormLifecycle = FormsTest;

std::u16string ErrorText() {
  return std::u16string(rt::CurrentErrorContext().error.description.view());
}

TEST_F(FormLifecycle, LoadingCreatesAHiddenWindowOwnedByTheApplicationWindow) {
  auto form = MakeForm("Form1");
  auto text = AddControl(*form, "Text1", u"BrammelTextBox", {10, 10, 110, 30}, 0);
  rt::FormStateOf(form.Get());
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
  rt::FormState& state = StateOf(*form);
  ASSERT_TRUE(state.windowHandle);
  EXPECT_FALSE(IsWindowVisible(state.windowHandle));
  EXPECT_TRUE(state.hidden);
  EXPECT_EQ(rt::LoadedFormCount(), 1);
  EXPECT_EQ(GetWindow(state.windowHandle, GW_OWNER), rt::CurrentEngineContext().hiddenWindow);
  RECT client{};
  GetClientRect(state.windowHandle, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  ASSERT_TRUE(text->hwnd());
  EXPECT_EQ(GetParent(text->hwnd()), state.windowHandle);
  EXPECT_EQ(GetDlgCtrlID(text->hwnd()), 256);
  // A second load is a no-op.
  EXPECT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
  EXPECT_EQ(rt::LoadedFormCount(), 1);
}

TEST_F(FormLifecycle, ModelessShowWhileAModalFormIsUpFailsWith401AndModalShowOfAShownFormWith400) {
  auto main = MakeForm("Main");
  auto dialog = MakeForm("Dialog");
  rt::FormStateOf(main.Get());
  rt::FormStateOf(dialog.Get());
  ASSERT_EQ(rt::Show(main.Get(), 0, nullptr), S_OK);
  HRESULT modeless = S_OK, modalAgain = S_OK, ownerModeless = S_OK;
  std::u16string text401, text400;
  dialog->onWindowMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_APP) return std::nullopt;
    auto other = MakeForm("Other");
    rt::FormStateOf(other.Get());
    modeless = rt::Show(other.Get(), 0, nullptr);
    text401 = ErrorText();
    ownerModeless = rt::Show(main.Get(), 0, nullptr);
    modalAgain = rt::Show(dialog.Get(), 1, nullptr);
    text400 = ErrorText();
    rt::Hide(dialog.Get());
    return 0;
  };
  ASSERT_EQ(rt::EnsureFormIsLoaded(dialog.Get()), S_OK);
  PostMessageW(StateOf(*dialog).windowHandle, WM_APP, 0, 0);
  EXPECT_EQ(rt::Show(dialog.Get(), 1, nullptr), S_OK);
  EXPECT_EQ(modeless, rt::ErrorStatus(401));
  EXPECT_EQ(text401, u"Can't show non-modal form when modal form is displayed");
  EXPECT_EQ(ownerModeless, rt::ErrorStatus(401));
  EXPECT_EQ(modalAgain, rt::ErrorStatus(400));
  EXPECT_EQ(text400, u"Form already displayed; can't show modally");
  EXPECT_EQ(rt::CurrentEngineContext().modalDepth, 0);
  EXPECT_TRUE(IsWindowEnabled(StateOf(*main).windowHandle));
}

TEST_F(FormLifecycle, ModelessShowOfAVisibleFormOnlyBringsItForward) {
  auto a = MakeForm("A");
  auto b = MakeForm("B");
  ASSERT_EQ(rt::Show(rt::FormStateOf(a.Get()) ? a.Get() : nullptr, 0, nullptr), S_OK);
  rt::FormStateOf(b.Get());
  ASSERT_EQ(rt::Show(b.Get(), 0, nullptr), S_OK);
  EXPECT_EQ(GetForegroundWindow(), StateOf(*b).windowHandle);
  EXPECT_EQ(rt::Show(a.Get(), 0, nullptr), S_OK);
  EXPECT_EQ(GetForegroundWindow(), StateOf(*a).windowHandle);
  EXPECT_EQ(rt::LoadedFormCount(), 2);
}

TEST_F(FormLifecycle, CancelledUnloadKeepsTheFormAndALaterUnloadAsksAgain) {
  auto form = MakeForm("Form1");
  rt::FormStateOf(form.Get());
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  form->cancelUnload = 1;
  EXPECT_EQ(rt::Unload(form.Get()), S_OK);
  EXPECT_TRUE(IsWindowVisible(StateOf(*form).windowHandle));
  EXPECT_EQ(rt::LoadedFormCount(), 1);
  form->cancelUnload = 0;
  EXPECT_EQ(rt::Unload(form.Get()), S_OK);
  EXPECT_EQ(form->unloadModes, (std::vector<int>{1, 1}));
  EXPECT_FALSE(StateOf(*form).windowHandle);
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(FormLifecycle, UserCloseAsksWithMode0AndTheUnloadingListenerCanCancel) {
  struct Veto final : rt::ComObject<Veto, rt::WindowEventSink> {
    SHORT answer = 1;
    void unloading(SHORT* cancel) override { *cancel = answer; }
  };
  auto form = MakeForm("Form1");
  rt::FormState* state = rt::FormStateOf(form.Get());
  auto veto = ComPtr<Veto>::Adopt(new Veto);
  rt::AddEventSink(state->window(), veto.Get());
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  SendMessageW(state->windowHandle, WM_CLOSE, 0, 0);
  EXPECT_EQ(form->unloadModes, std::vector<int>{0});
  EXPECT_TRUE(state->windowHandle);
  EXPECT_FALSE(state->closing);
  veto->answer = 0;
  SendMessageW(state->windowHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(form->unloadModes, (std::vector<int>{0, 0}));
  EXPECT_FALSE(state->windowHandle);
}

TEST_F(FormLifecycle, UnloadingAnOwnerAsksAndClosesItsOwnedFormsWithMode5) {
  auto owner = MakeForm("Owner");
  auto owned = MakeForm("Owned");
  rt::FormStateOf(owner.Get());
  rt::FormStateOf(owned.Get());
  ASSERT_EQ(rt::Show(owner.Get(), 0, nullptr), S_OK);
  ASSERT_EQ(rt::Show(owned.Get(), 0, owner.Get()), S_OK);
  EXPECT_EQ(GetWindow(StateOf(*owned).windowHandle, GW_OWNER), StateOf(*owner).windowHandle);
  EXPECT_EQ(rt::LoadedFormCount(), 2);
  // A cancel by the owned form stops the owner's unload.
  owned->cancelUnload = 1;
  rt::Unload(owner.Get());
  EXPECT_EQ(owned->unloadModes, std::vector<int>{5});
  EXPECT_EQ(rt::LoadedFormCount(), 2);
  owned->cancelUnload = 0;
  rt::Unload(owner.Get());
  Settle();
  EXPECT_EQ(owner->unloadModes, (std::vector<int>{1, 1}));
  EXPECT_EQ(owned->unloadModes.at(1), 5);
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(FormLifecycle, HidingAModalFormEndsItsShowAfterThePendingMessages) {
  auto main = MakeForm("Main");
  auto dialog = MakeForm("Dialog");
  rt::FormStateOf(main.Get());
  rt::FormStateOf(dialog.Get());
  ASSERT_EQ(rt::Show(main.Get(), 0, nullptr), S_OK);
  int handled = 0;
  bool mainDisabledDuringModal = false;
  dialog->onWindowMessage = [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_APP + 1) {
      ++handled;
      return 0;
    }
    if (msg != WM_APP) return std::nullopt;
    mainDisabledDuringModal = !IsWindowEnabled(StateOf(*main).windowHandle);
    HWND hwnd = StateOf(*dialog).windowHandle;
    for (int i = 0; i < 3; ++i)
      PostMessageW(hwnd, WM_APP + 1, 0, 0);
    rt::Hide(dialog.Get());
    return 0;
  };
  ASSERT_EQ(rt::EnsureFormIsLoaded(dialog.Get()), S_OK);
  PostMessageW(StateOf(*dialog).windowHandle, WM_APP, 0, 0);
  EXPECT_EQ(rt::Show(dialog.Get(), 1, nullptr), S_OK);
  EXPECT_EQ(handled, 3);
  EXPECT_TRUE(mainDisabledDuringModal);
  EXPECT_TRUE(IsWindowEnabled(StateOf(*main).windowHandle));
  EXPECT_TRUE(StateOf(*dialog).hidden);
  EXPECT_EQ(rt::LoadedFormCount(), 2);
}

TEST_F(FormLifecycle, AFormUnloadedInsideItsOwnLoadLeavesNothingBehind) {
  auto form = MakeForm("Form1");
  auto text = AddControl(*form, "Text1", u"BrammelTextBox", {10, 10, 110, 30}, 0);
  form->onLoad = [&] { rt::Unload(form.Get()); };
  EXPECT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  EXPECT_FALSE(StateOf(*form).windowHandle);
  EXPECT_FALSE(text->hwnd());
  EXPECT_EQ(rt::LoadedFormCount(), 0);
  EXPECT_EQ(text->windowGoneCount, 1);
  // The form loads again on its next use.
  form->onLoad = nullptr;
  EXPECT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
  EXPECT_TRUE(StateOf(*form).windowHandle);
  EXPECT_TRUE(text->hwnd());
}

TEST_F(FormLifecycle, ShowingAFormWhileItClosesFailsAndTheCloseCompletes) {
  struct ShowAgain final : rt::ComObject<ShowAgain, rt::WindowEventSink> {
    rt::EngineControl* form = nullptr;
    HRESULT status = S_OK;
    void unloading(SHORT*) override { status = rt::Show(form, 0, nullptr); }
  };
  auto form = MakeForm("Form1");
  rt::FormState* state = rt::FormStateOf(form.Get());
  auto sink = ComPtr<ShowAgain>::Adopt(new ShowAgain);
  sink->form = form.Get();
  rt::AddEventSink(state->window(), sink.Get());
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  rt::Unload(form.Get());
  EXPECT_EQ(sink->status, rt::ErrorStatus(364));
  EXPECT_FALSE(state->windowHandle);
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(FormLifecycle, DeferredReleaseFreesTheRecordFromTheApplicationWindowsQueue) {
  auto form = MakeForm("Form1");
  rt::FormState* state = rt::FormStateOf(form.Get());
  ASSERT_EQ(rt::EnsureHiddenWindow(), S_OK);
  state->addRef();
  form->AddRef();
  rt::DeferRelease(state, form->unknown());
  EXPECT_EQ(state->refCount, 2);
  Settle();
  EXPECT_EQ(state->refCount, 1);
}

TEST_F(FormLifecycle, DetachingALoadedFormDestroysItsWindowsFirst) {
  auto form = MakeForm("Form1");
  auto text = AddControl(*form, "Text1", u"BrammelTextBox", {10, 10, 110, 30}, 0);
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  HWND formWindow = StateOf(*form).windowHandle;
  HWND textWindow = text->hwnd();
  rt::DetachForm(form.Get());
  EXPECT_FALSE(IsWindow(formWindow));
  EXPECT_FALSE(IsWindow(textWindow));
  EXPECT_EQ(rt::LoadedFormCount(), 0);
  EXPECT_EQ(rt::FindFormState(form.Get()), nullptr);
}

TEST_F(FormLifecycle, AMessageForADestroyedFormWindowIsHarmless) {
  auto form = MakeForm("Form1");
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  HWND stale = StateOf(*form).windowHandle;
  rt::Unload(form.Get());
  EXPECT_EQ(SendMessageW(stale, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(SendMessageW(stale, WM_USER + 12, 0, 0), 0);
  EXPECT_EQ(rt::LoadedFormCount(), 0);
}

TEST_F(FormLifecycle, TheEndInProgressFlagMakesLoadsFail) {
  auto form = MakeForm("Form1");
  rt::FormStateOf(form.Get());
  rt::CurrentEngineContext().endInProgress = true;
  EXPECT_EQ(rt::EnsureFormIsLoaded(form.Get()), rt::StatusTerminate);
  EXPECT_FALSE(StateOf(*form).windowHandle);
  rt::CurrentEngineContext().endInProgress = false;
}

TEST_F(FormLifecycle, CloseAllPostsACloseToEveryFormAndWarnsAboutACorruptList) {
  auto a = MakeForm("A");
  auto b = MakeForm("B");
  rt::FormStateOf(a.Get());
  rt::FormStateOf(b.Get());
  rt::Show(a.Get(), 0, nullptr);
  rt::Show(b.Get(), 0, nullptr);
  std::vector<std::string> lines;
  rt::SetDiagnosticHook([&](std::string_view line) { lines.emplace_back(line); });
  StateOf(*b).signature = 0;
  EXPECT_EQ(rt::CloseAll(), &StateOf(*b));
  StateOf(*b).signature = rt::FormStateSignature;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("WARNING: internal list of loaded forms is corrupt"), std::string::npos);
  EXPECT_EQ(rt::CloseAll(), nullptr);
  Settle();
  EXPECT_EQ(rt::LoadedFormCount(), 0);
  rt::SetDiagnosticHook(nullptr);
}

TEST_F(FormLifecycle, TracingReportsTheLoadCheckpointsInStepOrderOnlyWithAHook) {
  auto form = MakeForm("Form1");
  rt::FormStateOf(form.Get());
  rt::SetTraceEnabled(true);
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);  // no hook: nothing anywhere
  rt::Unload(form.Get());
  std::vector<std::string> labels;
  rt::SetDiagnosticHook([&](std::string_view line) {
    if (line.starts_with("EnsureFormIsLoaded(")) labels.emplace_back(line);
  });
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
  rt::SetTraceEnabled(false);
  rt::SetDiagnosticHook(nullptr);
  std::vector<std::string> expected;
  for (int n : {-10, -9,  -8,  -7,  -6, -5, -4, -3, -2, -1, -20, -21,
                -22, -23, -24, -25, 0,  1,  2,  3,  4,  5,  6,   7}) {
    if (n == -6) continue;  // the branch of an existing window
    expected.push_back("EnsureFormIsLoaded(" + std::to_string(n) + ")");
  }
  EXPECT_EQ(labels, expected);
}

}  // namespace
}  // namespace forms_test

#include "runtime/forms/MessagePump.h"

#include "platform/kernel.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"

namespace rt {
namespace {

constexpr UINT FocusNotification = 0x1052;

// 0x1052 sent to the focus helper window arrives as a null message.
void NeutraliseFocusNotification(MSG& msg) {
  if (msg.message != FocusNotification || !msg.hwnd) return;
  char16_t name[11] = {};
  GetClassNameW(msg.hwnd, reinterpret_cast<LPWSTR>(name), 11);
  if (std::u16string_view(name) == u"NxFocusRT6") msg.message = WM_NULL;
}

// The first window up the parent chain that the engine knows.
WindowRecord* RecordOwning(HWND hwnd) {
  EngineContext& ctx = CurrentEngineContext();
  for (HWND walk = hwnd; walk; walk = GetAncestor(walk, GA_PARENT)) {
    if (WindowRecord* record = ctx.hwndMap.find(walk)) return record;
  }
  return nullptr;
}

void Deliver(MSG& msg) {
  WindowRecord* record = RecordOwning(msg.hwnd);
  FormState* form = record ? record->form : nullptr;
  FormStateRef hold(form);
  const bool forControl = form && msg.hwnd != form->windowHandle;
  if (forControl && !form->preTranslate.empty()) {
    auto extenders = form->preTranslate;
    for (auto& extender : extenders)
      extender->preTranslate(&msg);
  }
  if (forControl && form->windowHandle &&
      (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR)) {
    FormSettings settings;
    if (form->formObject) form->formObject->formSettings(settings);
    if (settings.keyPreview) {
      LRESULT result = 0;
      if (BeforePass(form->window(), form->windowHandle, msg.message, msg.wParam, msg.lParam,
                     &result, true)) {
        return;
      }
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool QueueEmpty() {
  MSG peek;
  return !PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE);
}

}  // namespace

void Pump(FormState* modal, bool singleMessage) {
  EngineContext& ctx = CurrentEngineContext();
  if (!modal && !singleMessage && ctx.loadedCount == 0) return;
  FormStateRef hold(modal);
  MSG msg{};
  for (;;) {
    BOOL got;
    if (singleMessage) {
      // One message if there is one; the yield function never waits.
      got = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) ? 1 : 0;
      if (!got) return;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
    } else {
      got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        // Leave the quit message for the loops outside this one.
        if (modal) PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
    }
    NeutraliseFocusNotification(msg);
    if (got == -1) continue;
    Deliver(msg);
    if (singleMessage) return;
    if (modal) {
      if ((modal->hidden || !modal->windowHandle) && QueueEmpty()) return;
      continue;
    }
    if (ctx.loadedCount == 0) return;
  }
}

void RunMainLoop() {
  Pump(nullptr, false);
}

SHORT Yield() {
  MSG peek;
  while (PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
    if (peek.message == WM_QUIT) break;
    Pump(nullptr, true);
  }
  return static_cast<SHORT>(CurrentEngineContext().loadedCount);
}

void PlainPump() {
  Sleep(1);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) return;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return;
    if (got == -1) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace rt

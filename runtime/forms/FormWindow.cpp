// The form window procedure and the hidden application window's procedure.
#include <vector>

#include "platform/gdi.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/Diagnostics.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/SinkSnapshot.h"
#include "runtime/forms/TimerHost.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/internal/FormInternals.h"
#include "runtime/forms/internal/Procedures.h"

namespace rt {
namespace {

constexpr const char* FormLabel = "BrammelForm/UserControl";

struct FormStyle {
  DWORD style;
  DWORD exStyle;
};

FormStyle ComputeFormStyle(const FormSettings& s, const std::u16string& caption, bool topLevel) {
  const DWORD S = s.controlBox ? WS_SYSMENU : 0;
  const DWORD C = (s.controlBox || (topLevel && !caption.empty())) ? WS_CAPTION : 0;
  const DWORD X = s.showInTaskbar ? WS_EX_APPWINDOW : 0;
  DWORD sizable = S | WS_THICKFRAME;
  if (s.maxButton) sizable |= WS_MAXIMIZEBOX | S;
  if (s.minButton) sizable |= WS_MINIMIZEBOX;
  switch (s.borderStyle) {
    case 0:
      return {S, X};
    case 1:
      return {S | C, X};
    case 2:
      return {sizable | C, X};
    case 3:
      return {S | C | WS_DLGFRAME, X};
    case 4:
      return {S | C, X | WS_EX_TOOLWINDOW};
    case 5:
      return {sizable | C, X | WS_EX_TOOLWINDOW};
    case 6:
      return {sizable, X};
    case 7:
      return {sizable, X | WS_EX_TOOLWINDOW};
    default:
      return {S, X};
  }
}

int ScaleForDpi(double value, int dpi) {
  return RoundLayout(dpi == 96 ? value : value * dpi / 96.0);
}

void TellSinks(WindowRecord& record, void (WindowEventSink::*what)()) {
  const SinkSnapshot sinks(record);
  for (const auto& sink : sinks)
    (sink.Get()->*what)();
}

// The close request; true when the close was swallowed.
bool CloseRequest(FormState& form) {
  if (form.unloading) return false;
  if (UnloadQuery(form, unloadmode::UserClose)) return true;
  form.closing = true;
  if (!CurrentEngineContext().endInProgress) {
    form.unloading = true;
    SHORT cancel = 0;
    const SinkSnapshot sinks(form.window());
    for (const auto& sink : sinks)
      sink->unloading(&cancel);
    form.unloading = false;
    if (cancel) {
      form.closing = false;
      form.queryDone = false;
      return true;
    }
  }
  for (FormState* disabled : form.disabledWindows) {
    if (disabled->windowHandle) EnableWindow(disabled->windowHandle, TRUE);
    disabled->release();
  }
  form.disabledWindows.clear();
  return false;
}

void OnTimer(FormState& form, UINT_PTR id) {
  for (size_t i = 0; i < form.timers.size(); ++i) {
    if (form.timers[i].timerId != id || !form.timers[i].running) continue;
    ComPtr<EngineControl> object = form.timers[i].object;
    if (object) object->raiseEvent(1, {});
    return;
  }
}

void OnActivate(FormState& form, HWND hwnd, WPARAM wParam) {
  EngineContext& ctx = CurrentEngineContext();
  if (LOWORD(wParam) == WA_INACTIVE) return;
  ctx.lastActivatedForm = &form;
  if (ctx.activeForm.get() != &form) {
    FormState* previous = ctx.activeForm.get();
    if (previous && previous->windowHandle && !previous->closing) {
      ctx.deactivationPending = true;
      PostMessageW(previous->windowHandle, WM_FORM_DEACTIVATED, 0, 0);
    }
    ctx.activeForm = FormStateRef(&form);
  }
  PostMessageW(hwnd, WM_FORM_ACTIVATED, 0, 0);
}

}  // namespace

void SetUpFormWindow(FormState& form, HWND hwnd) {
  form.windowHandle = hwnd;
  HDC dc = GetDC(hwnd);
  form.dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(hwnd, dc);
  if (form.dpi <= 0) form.dpi = 96;
  FormSettings settings;
  if (form.formObject) form.formObject->formSettings(settings);
  const int clientWidth = ScaleForDpi(settings.clientWidth, form.dpi);
  const int clientHeight = ScaleForDpi(settings.clientHeight, form.dpi);
  WindowRecord& record = form.window();
  const bool mdiParent = record.flags & wflag::MdiParentForm;
  const bool mdiChild = record.flags & wflag::MdiChildForm;
  FormStyle computed = mdiParent ? FormStyle{record.style, record.exStyle}
                                 : ComputeFormStyle(settings, record.text, !mdiChild);
  if (!settings.minButton && !settings.maxButton && settings.controlBox &&
      !(computed.exStyle & WS_EX_TOOLWINDOW) && settings.whatsThisHelp) {
    computed.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (mdiChild) {
    computed.style |= WS_CHILD | WS_CLIPSIBLINGS;
    computed.exStyle |= WS_EX_MDICHILD;
  }
  RECT outer{0, 0, clientWidth, clientHeight};
  if (HaveAdjustWindowRectExForDpi()) {
    AdjustWindowRectExForDpi(&outer, computed.style, settings.hasMenu, computed.exStyle,
                             static_cast<UINT>(form.dpi));
  } else {
    AdjustWindowRectEx(&outer, computed.style, settings.hasMenu, computed.exStyle);
  }
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  RECT current{};
  GetWindowRect(hwnd, &current);
  int x = current.left, y = current.top;
  const ScreenMetrics screen = CurrentScreenMetrics();
  switch (settings.startUpPosition) {
    case 0:
      x = ScaleForDpi(settings.left, form.dpi);
      y = ScaleForDpi(settings.top, form.dpi);
      break;
    case 1:
    case 2:
      x = (screen.widthPixels - width) / 2;
      y = (screen.heightPixels - height) / 2;
      break;
    default:
      break;
  }
  if (!form.windowless) {
    form.stripMaximizeBox = !(computed.style & WS_MAXIMIZEBOX);
    form.addToolWindow = computed.exStyle & WS_EX_TOOLWINDOW;
    const DWORD keep = GetWindowLongW(hwnd, GWL_STYLE) & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(computed.style | WS_MAXIMIZEBOX | keep));
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(computed.exStyle & ~WS_EX_TOOLWINDOW));
  }
  MoveWindow(hwnd, x, y, width, height, FALSE);
  form.pendingRelayout = true;
  TellSinks(record, &WindowEventSink::relayout);
  form.pendingRelayout = false;
  ShowWindow(hwnd, SW_HIDE);
}

void FormHidden(FormState& form) {
  if (form.hidden) return;
  for (FormState* disabled : form.disabledWindows) {
    if (disabled->windowHandle) EnableWindow(disabled->windowHandle, TRUE);
    disabled->release();
  }
  form.disabledWindows.clear();
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.bubbleControl && ctx.bubbleControl->form == &form) HideBubble();
  if (ctx.activeForm.get() == &form) ctx.activeForm = FormStateRef();
  form.hidden = true;
}

void FormDestroyed(FormState& form) {
  EngineContext& ctx = CurrentEngineContext();
  form.beingDestroyed = true;
  if (form.listed) {
    for (FormStateRef* position : ctx.enumerations) {
      if (position->get() == &form) *position = FormStateRef(form.next);
    }
    FormState** link = &ctx.loadedHead;
    FormState* previous = nullptr;
    while (*link && *link != &form) {
      previous = *link;
      link = &(*link)->next;
    }
    if (*link) {
      *link = form.next;
      if (ctx.loadedTail == &form) ctx.loadedTail = previous;
      --ctx.loadedCount;
    }
    form.next = nullptr;
    form.listed = false;
  }
  UnlinkOwnedForm(form);
  std::vector<FormStateRef> owned;
  for (FormState* child = form.ownedHead; child; child = child->nextOwned)
    owned.emplace_back(child);
  for (auto& child : owned) {
    if (child->windowHandle) SendMessageW(child->windowHandle, WM_CLOSE, 0, 0);
  }
  if (ctx.lastFocusForm == &form) ctx.lastFocusForm = nullptr;
  if (ctx.lastActivatedForm == &form) ctx.lastActivatedForm = nullptr;
  if (ctx.activeForm.get() == &form) ctx.activeForm = FormStateRef();
  if (ctx.bubbleControl && ctx.bubbleControl->form == &form) {
    HideBubble();
    ctx.bubbleControl = nullptr;
  }
  form.hidden = true;
  StopFormTimers(form);
  for (const auto& record : form.records()) {
    if (record.get() == &form.root() || record->removed) continue;
    if (EngineControl* object = ObjectOf(*record)) object->windowGone();
  }
  form.modal = false;
  form.activeControl = nullptr;
  for (FormState* disabled : form.disabledWindows) {
    if (disabled->windowHandle) EnableWindow(disabled->windowHandle, TRUE);
    disabled->release();
  }
  form.disabledWindows.clear();
}

LRESULT FormProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TraceMessage(FormLabel, msg, wParam, lParam);
  EngineContext& ctx = CurrentEngineContext();
  WindowRecord* record = nullptr;
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    record = static_cast<WindowRecord*>(create->lpCreateParams);
    if (record) {
      record->hwnd = hwnd;
      record->parentAtCreation = create->hwndParent;
      ctx.hwndMap.insert(hwnd, record);
    }
  } else {
    record = ctx.hwndMap.find(hwnd);
  }
  if (!record || !record->form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  FormStateRef hold(record->form);
  FormState& form = *record->form;
  const bool isFormWindow = record == &form.window();
  const uint32_t generation = record->generation;
  LRESULT result = 0;

  if (isFormWindow) {
    switch (msg) {
      case WM_NCCREATE:
        form.windowHandle = hwnd;
        break;
      case WM_CREATE:
        if (!(record->flags & wflag::CreatedAsChild) && !form.windowless && !form.listed) {
          if (ctx.loadedTail) {
            ctx.loadedTail->next = &form;
          } else {
            ctx.loadedHead = &form;
          }
          ctx.loadedTail = &form;
          form.next = nullptr;
          form.listed = true;
          ++ctx.loadedCount;
          if (form.formObject) form.loadedReference = form.formObject;
        }
        if (!record->visualStyles) RemoveTheme(hwnd);
        SetUpFormWindow(form, hwnd);
        break;
      case WM_CLOSE:
        if (CloseRequest(form)) return 0;
        result = DefWindowProcW(hwnd, msg, wParam, lParam);
        form.closing = false;
        return result;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE && UnloadQuery(form, unloadmode::UserClose)) return 0;
        if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
          result = DefWindowProcW(hwnd, msg, wParam, lParam);
          PlainPump();
          return result;
        }
        break;
      case WM_QUERYENDSESSION:
        if (UnloadQuery(form, unloadmode::SystemShutdown)) return FALSE;
        break;
      case WM_SHOWWINDOW:
        if (!wParam) FormHidden(form);
        break;
      case WM_ACTIVATE:
        OnActivate(form, hwnd, wParam);
        break;
      case WM_TIMER:
        OnTimer(form, wParam);
        return 0;
      case WM_DESTROY: {
        ComPtr<EngineControl> objectHold(form.formObject);
        FormDestroyed(form);
        break;
      }
      default:
        break;
    }
  }
  if (msg == WM_NCDESTROY) {
    ctx.hwndMap.remove(hwnd);
    ++record->generation;
    record->hwnd = nullptr;
    result = DefWindowProcW(hwnd, msg, wParam, lParam);
    if (isFormWindow) {
      form.windowHandle = nullptr;
      form.beingDestroyed = false;
      // The loaded form no longer keeps its object alive; the object may go
      // now, and with it its reference on this record (held above).
      ComPtr<EngineControl> released = std::move(form.loadedReference);
    }
    return result;
  }
  if (BeforePass(*record, hwnd, msg, wParam, lParam, &result, false)) {
    TraceResult(FormLabel, result);
    return result;
  }
  if (record->generation != generation) return result;
  WNDPROC proc = form.defaultProc ? form.defaultProc : DefWindowProcW;
  result = CallWindowProcW(proc, hwnd, msg, wParam, lParam);
  if (record->generation != generation) return result;
  if (isFormWindow && msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !form.hidden) {
    SetInitialFocusIfOutside(form);
  }
  AfterPass(*record, hwnd, msg, wParam, lParam, result);
  TraceResult(FormLabel, result);
  return result;
}

LRESULT HiddenWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DISPLAYCHANGE:
      RefreshScreenMetrics();
      break;
    case WM_DEFERRED_RELEASE:
      if (auto* object = reinterpret_cast<IUnknown*>(lParam)) object->Release();
      if (auto* form = reinterpret_cast<FormState*>(wParam)) form->release();
      return 0;
    case WM_DESTROY:
      // The internal assertion hook breaks into a debugger only in debug
      // builds of the runtime; this build has none.
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace rt

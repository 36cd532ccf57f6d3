#include "runtime/forms/CommonHandler.h"

#include <string>
#include <unordered_map>

#include "platform/controls.h"
#include "runtime/forms/Diagnostics.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/SinkSnapshot.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/internal/FormInternals.h"
#include "runtime/forms/internal/Navigation.h"

namespace rt {
namespace {

// Headers of the notifications whose sender the engine reads.
struct NotifyHeader {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
struct MeasureItemHeader {
  UINT CtlType;
  UINT CtlID;
};

template <typename... Args>
void TellSinks(WindowRecord& record, void (WindowEventSink::*what)(Args...), Args... args) {
  const SinkSnapshot sinks(record);
  for (const auto& sink : sinks)
    (sink.Get()->*what)(args...);
}

bool IsEngineClass(HWND hwnd) {
  char16_t name[16] = {};
  GetClassNameW(hwnd, reinterpret_cast<LPWSTR>(name), 16);
  return std::u16string_view(name).starts_with(u"Brammel");
}

bool SameProcess(HWND hwnd) {
  DWORD ours = 0, theirs = 0;
  GetWindowThreadProcessId(CurrentEngineContext().hiddenWindow, &ours);
  GetWindowThreadProcessId(hwnd, &theirs);
  return ours == 0 || ours == theirs;
}

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

bool ControlEnabled(const ControlRecord& control) {
  if (control.window.hwnd) return IsWindowEnabled(control.window.hwnd);
  EngineControl* object = ObjectOf(control);
  return !object || object->enabled();
}

HRESULT RaiseWithArgs(EngineControl* object, DISPID id, int button, int shift, double x, double y) {
  if (!object || id == NoEvent) return S_OK;
  Variant args[4] = {Variant::I2(static_cast<SHORT>(button)),
                     Variant::I2(static_cast<SHORT>(shift)), Variant(), Variant()};
  args[2].vt = VT_R4;
  args[2].fltVal = static_cast<float>(x);
  args[3].vt = VT_R4;
  args[3].fltVal = static_cast<float>(y);
  return object->raiseEvent(id, args);
}

// --- Reflection -------------------------------------------------------------

HWND NotificationTarget(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<const NotifyHeader*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
      return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return lParam
                 ? GetDlgItem(hwnd, static_cast<int>(
                                        reinterpret_cast<const MeasureItemHeader*>(lParam)->CtlID))
                 : nullptr;
    case WM_SETCURSOR:
      return reinterpret_cast<HWND>(wParam);
    default:
      return nullptr;
  }
}

bool IsParentNotification(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_SETCURSOR:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
      return true;
    default:
      return false;
  }
}

bool ReflectToControl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND target = NotificationTarget(hwnd, msg, wParam, lParam);
  if (!target || !CurrentEngineContext().hwndMap.find(target)) target = hwnd;
  ReflectionRequest request{hwnd, msg, wParam, lParam, 0, 0};
  SendMessageW(target, WM_REFLECT, reinterpret_cast<WPARAM>(&request), 0);
  if (!request.handled) return false;
  *result = request.result;
  return true;
}

int ColourKind(UINT msg) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
      return 8;
    case WM_CTLCOLORLISTBOX:
      return 1;
    case WM_CTLCOLORBTN:
      return 0;
    default:
      return 6;
  }
}

void AnswerReflection(WindowRecord& record, ReflectionRequest& request) {
  ControlRecord* control = record.control;
  ComPtr<EngineControl> object(control ? ObjectOf(*control) : nullptr);
  switch (request.message) {
    case WM_COMMAND: {
      const WORD code = HIWORD(request.wParam);
      const SinkSnapshot sinks(record);
      for (const auto& sink : sinks) {
        if (sink->command(code)) request.handled = 1;
      }
      const bool clickAllowed = !(record.eventFlags & eflag::NoClickFromNotification) &&
                                (!(record.eventFlags & eflag::EventsOnlyWhileEnabled) ||
                                 (control && ControlEnabled(*control)));
      // A command the window sent itself (a menu, an accelerator) is no click.
      const bool fromChild = request.window != record.hwnd;
      if (code == BN_CLICKED && fromChild && clickAllowed && object &&
          record.clickEvent != NoEvent) {
        object->raiseEvent(record.clickEvent, {});
      }
      return;
    }
    case WM_SETCURSOR: {
      int pointer = object ? object->mousePointer() : 0;
      if (pointer >= 19 || pointer < 0) pointer = 0;
      if (pointer == 0) return;  // the class's own cursor
      SetCursor(CursorForMousePointer(pointer));
      request.result = TRUE;
      request.handled = 1;
      return;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (record.eventSinks.empty()) return;
      TellSinks(record, &WindowEventSink::scroll, static_cast<int>(LOWORD(request.wParam)),
                request.message == WM_HSCROLL ? -1 : 0);
      request.handled = 1;
      return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      if (record.eventSinks.empty()) return;
      const SinkSnapshot sinks(record);
      for (const auto& sink : sinks) {
        sink->colour(reinterpret_cast<HDC>(request.wParam), ColourKind(request.message),
                     &request.result);
      }
      request.handled = 1;
      return;
    }
    default:
      return;
  }
}

// --- Focus tracking -------------------------------------------------------

void OnSetFocus(WindowRecord& record, HWND hwnd) {
  EngineContext& ctx = CurrentEngineContext();
  TellSinks(record, &WindowEventSink::focusGained);
  if (record.form && hwnd != record.form->windowHandle) {
    if (HWND parent = GetParent(hwnd)) PostMessageW(parent, WM_FOCUS_ENTERED, 0, 0);
  }
  ctx.focusChanged = true;
  if (record.form) ctx.lastFocusForm = record.form;
  PostMessageW(hwnd, WM_FOCUS_GAINED, 0, 0);
}

void OnKillFocus(WindowRecord& record, HWND hwnd, HWND newFocus) {
  InvalidateRect(hwnd, nullptr, TRUE);
  if (newFocus && (!SameProcess(newFocus) || !IsEngineClass(newFocus))) return;
  if (record.focusLossPosted) return;
  record.focusLossPosted = true;
  PostMessageW(hwnd, WM_FOCUS_LOSS_DONE, reinterpret_cast<WPARAM>(newFocus), 0);
  if (record.form && hwnd != record.form->windowHandle) {
    if (HWND parent = GetParent(hwnd)) {
      PostMessageW(parent, WM_FOCUS_LEFT, reinterpret_cast<WPARAM>(newFocus), 0);
    }
  }
}

bool IsWindowlessContainer(const WindowRecord& record) {
  return record.form && (record.form->windowless || record.userControlClass);
}

bool Contains(HWND container, HWND hwnd) {
  return hwnd && (hwnd == container || IsChild(container, hwnd));
}

void RaiseFocusEvent(WindowRecord& record) {
  TellSinks(record, &WindowEventSink::focusGained);
  ControlRecord* control = record.control;
  if (!control || record.gotFocusEvent == NoEvent) return;
  ComPtr<EngineControl> object(ObjectOf(*control));
  if (object) object->raiseEvent(record.gotFocusEvent, {});
}

void OnFocusGained(WindowRecord& record, HWND hwnd) {
  EngineContext& ctx = CurrentEngineContext();
  InvalidateRect(hwnd, nullptr, TRUE);
  const HWND focus = GetFocus();
  for (size_t i = 0; i < ctx.focusContainers.size();) {
    WindowRecord* container = ctx.focusContainers[i];
    if (container->hwnd && Contains(container->hwnd, focus)) {
      ++i;
      continue;
    }
    ctx.focusContainers.erase(ctx.focusContainers.begin() + static_cast<ptrdiff_t>(i));
    container->focusInside = false;
    TellSinks(*container, &WindowEventSink::focusLeft);
  }
  if (record.form && record.control && record.control != &record.form->root() && focus == hwnd) {
    SetActiveControl(*record.form, record.control);
  }
  const uint32_t generation = record.generation;
  RaiseFocusEvent(record);
  (void)generation;
}

bool FocusMessage(WindowRecord& record, HWND hwnd, UINT msg, WPARAM wParam) {
  EngineContext& ctx = CurrentEngineContext();
  switch (msg) {
    case WM_FOCUS_ENTERED:
      if (IsWindowlessContainer(record) && !record.focusInside && Contains(hwnd, GetFocus())) {
        record.focusInside = true;
        ctx.focusContainers.push_back(&record);
        TellSinks(record, &WindowEventSink::focusEntered);
      }
      return true;
    case WM_FOCUS_GAINED:
      OnFocusGained(record, hwnd);
      return true;
    case WM_FOCUS_LEFT: {
      const HWND newFocus = reinterpret_cast<HWND>(wParam);
      if (IsWindowlessContainer(record) && record.focusInside && !Contains(hwnd, newFocus)) {
        record.focusInside = false;
        std::erase(ctx.focusContainers, &record);
        TellSinks(record, &WindowEventSink::focusLeft);
      }
      return true;
    }
    case WM_FOCUS_LOSS_DONE:
      record.focusLossPosted = false;
      return true;
    case WM_FOCUS_EVENT:
      RaiseFocusEvent(record);
      return true;
    case WM_FORM_ACTIVATED:
      if (ctx.deactivationPending && ctx.activateReposts < MaxFocusReposts) {
        ++ctx.activateReposts;
        PostMessageW(hwnd, WM_FORM_ACTIVATED, wParam, 0);
        return true;
      }
      ctx.activateReposts = 0;
      ctx.focusChanged = false;
      if (record.form && ctx.activeForm.get() == record.form) {
        TellSinks(record, &WindowEventSink::activated);
      }
      return true;
    case WM_FORM_DEACTIVATED:
      if (ctx.focusChanged && ctx.deactivateReposts < MaxFocusReposts) {
        ++ctx.deactivateReposts;
        PostMessageW(hwnd, WM_FORM_DEACTIVATED, wParam, 0);
        return true;
      }
      ctx.focusChanged = false;
      ctx.deactivationPending = false;
      ctx.deactivateReposts = 0;
      TellSinks(record, &WindowEventSink::deactivated);
      return true;
    default:
      return false;
  }
}

// --- Keyboard -----------------------------------------------------------------

ControlRecord* ControlOfWindow(HWND hwnd) {
  WindowRecord* record = CurrentEngineContext().hwndMap.find(hwnd);
  return record ? record->control : nullptr;
}

ControlRecord* FindButton(FormState& form, bool cancel) {
  for (const auto& record : form.records()) {
    if (record->removed || record.get() == &form.root()) continue;
    EngineControl* object = ObjectOf(*record);
    if (!object) continue;
    if (cancel ? object->isCancelButton() : object->isDefaultButton()) return record.get();
  }
  return nullptr;
}

void PressButton(ControlRecord& button, bool cancel) {
  FormStateRef hold(button.form);
  if (button.window.eventSinks.empty()) {
    if (button.window.hwnd) SendMessageW(button.window.hwnd, BM_CLICK, 0, 0);
    return;
  }
  TellSinks(button.window, cancel ? &WindowEventSink::pressCancel : &WindowEventSink::pressDefault);
}

bool MoveByTab(FormState& form, bool backward) {
  ControlRecord* current = ControlOfWindow(GetFocus());
  if (current && current->form != &form) current = nullptr;
  if (!current) current = form.activeControl;
  ControlRecord* target = NextTabCandidate(form, current, backward);
  if (!target) return false;
  FocusControl(form, *target);
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.keyboardCuesManaged && form.windowHandle) {
    SendMessageW(form.windowHandle, WM_UPDATEUISTATE, 3, 0);
  }
  return true;
}

bool MoveByArrow(FormState& form, bool backward) {
  ControlRecord* current = ControlOfWindow(GetFocus());
  if (!current || current->form != &form || !current->container) return false;
  ControlRecord* target = NextGroupCandidate(*current, backward);
  if (!target || target == current) return false;
  if (!FocusControl(form, *target)) return true;
  if (target->window.hwnd) {
    const LRESULT code = SendMessageW(target->window.hwnd, WM_GETDLGCODE, 0, 0);
    FormSettings settings;
    if (form.formObject) form.formObject->formSettings(settings);
    if ((code & DLGC_HASSETSEL) && settings.selectTextOnArrow) {
      SendMessageW(target->window.hwnd, EM_SETSEL, 0, -1);
    }
  }
  return true;
}

bool OnKeyDown(WindowRecord& record, WPARAM key) {
  FormState* formPtr = record.form;
  if (!formPtr || formPtr->isMainWindow) return false;
  FormState& form = *formPtr;
  FormStateRef hold(&form);
  EngineContext& ctx = CurrentEngineContext();
  const HWND focus = GetFocus();
  const LRESULT code = focus ? SendMessageW(focus, WM_GETDLGCODE, key, 0) : 0;
  if (code & DLGC_WANTALLKEYS) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_TAB:
      if (!MoveByTab(form, shift)) return false;
      ctx.swallowChar = 9;
      return true;
    case VK_RETURN:
    case VK_EXECUTE: {
      if (focus && form.windowHandle && IsChild(form.windowHandle, focus) &&
          (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        ctx.swallowChar = 13;
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
      }
      if (shift || ctrl) return false;
      ControlRecord* button = FindButton(form, false);
      if (!button) return false;
      ctx.swallowChar = 13;
      PressButton(*button, false);
      return true;
    }
    case VK_ESCAPE: {
      ControlRecord* button = FindButton(form, true);
      if (!button) return false;
      ctx.swallowChar = 27;
      PressButton(*button, true);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (form.closing || (code & DLGC_WANTARROWS)) return false;
      return MoveByArrow(form, key == VK_LEFT || key == VK_UP);
    default:
      return false;
  }
}

bool OfferKeyToSinks(WindowRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!record.form || !record.form->windowless) return false;
  const SinkSnapshot sinks(record.form->window());
  for (const auto& sink : sinks) {
    if (sink->key(msg, wParam, lParam)) return true;
  }
  return false;
}

// --- Mouse --------------------------------------------------------------------

struct MouseTarget {
  ControlRecord* control = nullptr;
  double x = 0;
  double y = 0;
  RECT pixels{};  // the target's rectangle in its own pixels (0-based)
};

MouseTarget ResolveMouseTarget(WindowRecord& record, HWND hwnd, LPARAM lParam) {
  MouseTarget target;
  target.control = record.control;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  GetClientRect(hwnd, &target.pixels);
  bool windowless = false;
  if (record.control) {
    if (ControlRecord* child = WindowlessChildAt(*record.control, point)) {
      RECT rect{};
      ObjectOf(*child)->windowlessRect(&rect);
      point.x -= rect.left;
      point.y -= rect.top;
      target.control = child;
      target.pixels = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
      windowless = true;
    }
  }
  const double factor = record.form ? record.form->dpi / 96.0 : 1.0;
  Scale scale = target.control ? target.control->innerScale : Scale{};
  if (windowless) scale = Scale{15, 15, 0, 0};
  target.x = point.x / factor * scale.factorX;
  target.y = point.y / factor * scale.factorY;
  if (record.eventFlags & eflag::AddScaleOrigin) {
    target.x += scale.originX;
    target.y += scale.originY;
  }
  target.pixels.right = static_cast<LONG>(target.pixels.right);
  (void)point;
  return target;
}

int ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return 2;
    default:
      return 4;
  }
}

bool TargetAllows(const WindowRecord& record, const MouseTarget& target) {
  if (!(record.eventFlags & eflag::EventsOnlyWhileEnabled)) return true;
  return target.control && ControlEnabled(*target.control);
}

void OnButtonDown(WindowRecord& record, HWND hwnd, UINT msg, LPARAM lParam) {
  FormStateRef hold(record.form);
  const uint32_t generation = record.generation;
  MouseTarget target = ResolveMouseTarget(record, hwnd, lParam);
  ComPtr<EngineControl> object(target.control ? ObjectOf(*target.control) : nullptr);
  if (record.eventFlags & eflag::CaptureWhileButtonDown) {
    SetCapture(hwnd);
    record.captured = true;
  }
  const int button = ButtonOf(msg);
  if (button == 1 && object && object->autoPress()) {
    object->pressAutomatically();
    return;
  }
  const int shift = ShiftState();
  if (object && TargetAllows(record, target)) {
    const WindowRecord& targetRecord = target.control->window;
    RaiseWithArgs(object.Get(), targetRecord.mouseDownEvent, button, shift, target.x, target.y);
    if (record.generation != generation) return;
  }
  TellSinks(record, &WindowEventSink::mouseDown, button, shift, target.x, target.y);
}

void OnButtonUp(WindowRecord& record, HWND hwnd, UINT msg, LPARAM lParam) {
  FormStateRef hold(record.form);
  const uint32_t generation = record.generation;
  const bool wasCaptured = record.captured;
  if (record.captured) {
    record.captured = false;
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  MouseTarget target = ResolveMouseTarget(record, hwnd, lParam);
  ComPtr<EngineControl> object(target.control ? ObjectOf(*target.control) : nullptr);
  const int button = ButtonOf(msg);
  const int shift = ShiftState();
  TellSinks(record, &WindowEventSink::mouseUp, button, shift, target.x, target.y);
  if (record.generation != generation || !object || !TargetAllows(record, target)) return;
  const DISPID upEvent = target.control->window.mouseUpEvent;
  const DISPID clickEvent = target.control->window.clickEvent;
  RaiseWithArgs(object.Get(), upEvent, button, shift, target.x, target.y);
  if (record.generation != generation || !wasCaptured) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (target.control != record.control) {
    RECT rect{};
    ObjectOf(*target.control)->windowlessRect(&rect);
    point.x -= rect.left;
    point.y -= rect.top;
  }
  if (PtInRect(&target.pixels, point) && clickEvent != NoEvent) object->raiseEvent(clickEvent, {});
}

void OnMouseMove(WindowRecord& record, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  FormStateRef hold(record.form);
  const uint32_t generation = record.generation;
  FeedBubble(record, hwnd, lParam);
  if (record.generation != generation) return;
  MouseTarget target = ResolveMouseTarget(record, hwnd, lParam);
  ComPtr<EngineControl> object(target.control ? ObjectOf(*target.control) : nullptr);
  const int button = static_cast<int>(wParam & 3) | ((wParam & MK_MBUTTON) ? 4 : 0);
  const int shift = ShiftState();
  TellSinks(record, &WindowEventSink::mouseMove, button, shift, target.x, target.y);
  if (record.generation != generation || !object || !TargetAllows(record, target)) return;
  RaiseWithArgs(object.Get(), target.control->window.mouseMoveEvent, button, shift, target.x,
                target.y);
}

void OnUserControlPress(WindowRecord& record, HWND hwnd) {
  if (!record.userControlClass || !record.form || !record.control) return;
  SetActiveControl(*record.form, record.control);
  if (record.allowsFocus && GetFocus() != hwnd) SetFocus(hwnd);
}

// --- Subclassing ----------------------------------------------------------------

// The per-window closures that stand in for the subclass thunks.
thread_local std::unordered_map<HWND, WindowRecord*> subclassed;

LRESULT SubclassProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto found = subclassed.find(hwnd);
  if (found == subclassed.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  WindowRecord& record = *found->second;
  const char* label = record.ansi ? "{SUBCLASS_WNDPROC_ANSI}" : "{SUBCLASS_WNDPROC}";
  TraceMessage(label, msg, wParam, lParam);
  const WNDPROC previous = record.previousProc;
  if (msg == WM_NCDESTROY) {
    subclassed.erase(found);
    CurrentEngineContext().hwndMap.remove(hwnd);
    ++record.generation;
    record.hwnd = nullptr;
    record.subclassed = false;
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
  }
  FormStateRef hold(record.form);
  const uint32_t generation = record.generation;
  LRESULT result = 0;
  if (BeforePass(record, hwnd, msg, wParam, lParam, &result, false)) return result;
  if (record.generation != generation) return result;
  const bool swallowed =
      msg == WM_CHAR && (wParam == 9 || wParam == 13) && (record.flags & wflag::SwallowTabAndEnter);
  if (!swallowed) result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
  if (record.generation != generation) return result;
  AfterPass(record, hwnd, msg, wParam, lParam, result);
  TraceResult(label, result);
  return result;
}

}  // namespace

void ForgetWindow(HWND hwnd) {
  subclassed.erase(hwnd);
  CurrentEngineContext().hwndMap.remove(hwnd);
}

void Subclass(WindowRecord& record) {
  if (!record.hwnd || record.subclassed) return;
  record.ansi = !IsWindowUnicode(record.hwnd);
  subclassed[record.hwnd] = &record;
  CurrentEngineContext().hwndMap.insert(record.hwnd, &record);
  record.previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(record.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure)));
  record.subclassed = true;
}

bool BeforePass(WindowRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                LRESULT* result, bool keyPreview) {
  *result = 0;
  ControlRecord* control = record.control;
  if (control) {
    ComPtr<EngineControl> object(ObjectOf(*control));
    if (object && object->onMessage(msg, wParam, lParam, result)) return true;
  }
  EngineContext& ctx = CurrentEngineContext();
  if (msg == WM_REFLECT) {
    if (auto* request = reinterpret_cast<ReflectionRequest*>(wParam))
      AnswerReflection(record, *request);
    return true;
  }
  if (IsParentNotification(msg)) {
    if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) != hwnd &&
        !(record.control && !record.control->children.empty())) {
      return false;  // only containers reflect cursor requests of their children
    }
    return ReflectToControl(hwnd, msg, wParam, lParam, result);
  }
  if (FocusMessage(record, hwnd, msg, wParam)) return true;
  switch (msg) {
    case WM_KEYDOWN:
      if (keyPreview) return false;
      if (OnKeyDown(record, wParam)) return true;
      return OfferKeyToSinks(record, msg, wParam, lParam);
    case WM_CHAR:
      if (ctx.swallowChar && wParam == ctx.swallowChar) {
        ctx.swallowChar = 0;
        return true;
      }
      ctx.swallowChar = 0;
      return !keyPreview && OfferKeyToSinks(record, msg, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      return !keyPreview && OfferKeyToSinks(record, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
      OnUserControlPress(record, hwnd);
      return false;
    default:
      return false;
  }
}

void AfterPass(WindowRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
               LRESULT result) {
  const uint32_t generation = record.generation;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnButtonDown(record, hwnd, msg, lParam);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnButtonUp(record, hwnd, msg, lParam);
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(record, hwnd, wParam, lParam);
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      TellSinks(record, &WindowEventSink::mouseWheel,
                static_cast<int>(GET_WHEEL_DELTA_WPARAM(wParam)), msg == WM_MOUSEHWHEEL);
      break;
    case WM_SETFOCUS:
      OnSetFocus(record, hwnd);
      break;
    case WM_KILLFOCUS:
      OnKillFocus(record, hwnd, reinterpret_cast<HWND>(wParam));
      break;
    default:
      break;
  }
  if (record.generation != generation || !record.asksForAllMessages) return;
  const SinkSnapshot sinks(record);
  for (const auto& sink : sinks)
    sink->message(msg, wParam, lParam, result);
}

LRESULT ControlProcedure(const char* label, WNDPROC base, HWND hwnd, UINT msg, WPARAM wParam,
                         LPARAM lParam) {
  TraceMessage(label, msg, wParam, lParam);
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
  if (!record) return CallWindowProcW(base, hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ctx.hwndMap.remove(hwnd);
    ++record->generation;
    record->hwnd = nullptr;
    return CallWindowProcW(base, hwnd, msg, wParam, lParam);
  }
  if (msg == WM_CREATE && !record->visualStyles) RemoveTheme(hwnd);
  FormStateRef hold(record->form);
  const uint32_t generation = record->generation;
  LRESULT result = 0;
  if (BeforePass(*record, hwnd, msg, wParam, lParam, &result, false)) {
    TraceResult(label, result);
    return result;
  }
  if (record->generation != generation) return result;
  result = CallWindowProcW(base, hwnd, msg, wParam, lParam);
  if (record->generation != generation) return result;
  AfterPass(*record, hwnd, msg, wParam, lParam, result);
  TraceResult(label, result);
  return result;
}

}  // namespace rt

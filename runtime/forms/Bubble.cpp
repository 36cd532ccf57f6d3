// The bubble tooltip: one window per thread, armed by mouse movement over a
// control with a tooltip text, shown after 700 ms of stillness, polled every
// 100 ms while shown.
#include <algorithm>

#include "platform/gdi.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/Diagnostics.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/internal/Navigation.h"
#include "runtime/forms/internal/Procedures.h"

namespace rt {
namespace {

constexpr UINT_PTR BubbleTimer = 1;
constexpr UINT ArmDelayMs = 700;
constexpr UINT PollMs = 100;
constexpr int Padding = 6;
constexpr int TextInset = 3;

thread_local HFONT bubbleFont = nullptr;

bool SamePoint(POINT a, POINT b) {
  return a.x == b.x && a.y == b.y;
}

HWND EnsureBubbleWindow() {
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.bubbleWindow && IsWindow(ctx.bubbleWindow)) return ctx.bubbleWindow;
  StartEngine();
  ctx.bubbleWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"NxBubbleRT6", u"",
                                     WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER, 0, 0, 0, 0, nullptr,
                                     nullptr, EngineInstance(), nullptr);
  ctx.bubbleVisible = false;
  return ctx.bubbleWindow;
}

// The control that stands for the cursor: a container's windowless child
// under the cursor, else the control itself.
ControlRecord* BubbleTargetAt(WindowRecord& record, HWND hwnd, POINT client) {
  ControlRecord* control = record.control;
  if (!control) return nullptr;
  if (!control->children.empty()) {
    if (ControlRecord* child = WindowlessChildAt(*control, client)) return child;
  }
  (void)hwnd;
  return control;
}

void Arm(ControlRecord& control, POINT cursor, bool immediate) {
  EngineContext& ctx = CurrentEngineContext();
  EngineControl* object = ObjectOf(control);
  std::u16string text = object ? object->toolTipText() : std::u16string();
  if (text.empty()) {
    HideBubble();
    ctx.bubbleControl = nullptr;
    return;
  }
  HWND bubble = EnsureBubbleWindow();
  if (!bubble) return;
  ctx.bubbleText = std::move(text);
  ctx.bubbleControl = &control;
  ctx.bubbleFormWindow = control.form ? control.form->windowHandle : nullptr;
  ctx.bubbleArmedAt = cursor;
  if (immediate) {
    ShowBubble();
    return;
  }
  SetTimer(bubble, BubbleTimer, ArmDelayMs, nullptr);
}

// While shown: is the cursor still over the control (or the same
// windowless child of a container)?
bool CursorStillOverControl() {
  EngineContext& ctx = CurrentEngineContext();
  ControlRecord* control = ctx.bubbleControl;
  if (!control || control->removed) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  if (control->window.hwnd) return under == control->window.hwnd;
  ControlRecord* container = control->container;
  if (!container || !container->window.hwnd || under != container->window.hwnd) return false;
  POINT client = cursor;
  ScreenToClient(container->window.hwnd, &client);
  return WindowlessChildAt(*container, client) == control;
}

void OnBubbleTimer(HWND hwnd) {
  EngineContext& ctx = CurrentEngineContext();
  if (!ctx.bubbleVisible) {
    KillTimer(hwnd, BubbleTimer);
    POINT cursor{};
    GetCursorPos(&cursor);
    if (ctx.bubbleControl && SamePoint(cursor, ctx.bubbleArmedAt)) ShowBubble();
    return;
  }
  if (CursorStillOverControl()) return;
  KillTimer(hwnd, BubbleTimer);
  HideBubble();
  ctx.bubbleControl = nullptr;
}

void PaintBubble(HWND hwnd) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  HGDIOBJ previous = bubbleFont ? SelectObject(dc, bubbleFont) : nullptr;
  const std::u16string& text = CurrentEngineContext().bubbleText;
  RECT rect{};
  GetClientRect(hwnd, &rect);
  rect.left += TextInset;
  rect.top += TextInset;
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &rect,
            DT_LEFT | DT_NOPREFIX);
  if (previous) SelectObject(dc, previous);
  EndPaint(hwnd, &paint);
}

}  // namespace

void ArmBubble(ControlRecord& control, const POINT* cursor, bool immediate) {
  POINT at{};
  if (cursor) {
    at = *cursor;
  } else {
    GetCursorPos(&at);
  }
  Arm(control, at, immediate);
}

void ShowBubble() {
  EngineContext& ctx = CurrentEngineContext();
  HWND bubble = EnsureBubbleWindow();
  if (!bubble || !ctx.bubbleControl) return;
  HDC dc = GetDC(bubble);
  HGDIOBJ previous = bubbleFont ? SelectObject(dc, bubbleFont) : nullptr;
  RECT textRect{0, 0, 0, 0};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(ctx.bubbleText.c_str()),
            static_cast<int>(ctx.bubbleText.size()), &textRect, DT_CALCRECT | DT_NOPREFIX);
  if (previous) SelectObject(dc, previous);
  ReleaseDC(bubble, dc);
  const int width = (textRect.right - textRect.left) + Padding;
  const int height = (textRect.bottom - textRect.top) + Padding;
  SetWindowTextW(bubble, reinterpret_cast<LPCWSTR>(ctx.bubbleText.c_str()));
  POINT cursor{};
  GetCursorPos(&cursor);
  // Clamped to the screen the cursor is on (this platform has one monitor).
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int x =
      std::clamp(static_cast<int>(cursor.x - width / 2), 0, std::max(0, screenWidth - width));
  const int y = cursor.y + GetSystemMetrics(SM_CYCURSOR);
  SetWindowPos(bubble, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
  ShowWindow(bubble, SW_SHOWNOACTIVATE);
  ctx.bubbleVisible = true;
  UpdateWindow(bubble);
  SetTimer(bubble, BubbleTimer, PollMs, nullptr);
}

void HideBubble() {
  EngineContext& ctx = CurrentEngineContext();
  if (!ctx.bubbleWindow) return;
  KillTimer(ctx.bubbleWindow, BubbleTimer);
  if (ctx.bubbleVisible) ShowWindow(ctx.bubbleWindow, SW_HIDE);
  ctx.bubbleVisible = false;
}

void FeedBubble(WindowRecord& record, HWND hwnd, LPARAM lParam) {
  if (!record.control) return;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (!root || GetActiveWindow() != root) return;
  EngineContext& ctx = CurrentEngineContext();
  POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ControlRecord* control = BubbleTargetAt(record, hwnd, client);
  if (!control) return;
  ctx.lastMouseWindow = hwnd;
  if (!EnsureBubbleWindow()) return;
  POINT cursor = client;
  ClientToScreen(hwnd, &cursor);
  if (ctx.bubbleControl && SamePoint(cursor, ctx.bubbleArmedAt)) return;
  if (ctx.bubbleControl == control) {
    if (ctx.bubbleVisible) return;
    Arm(*control, cursor, false);
    return;
  }
  HideBubble();
  Arm(*control, cursor, false);
}

LRESULT BubbleProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TraceMessage("BrammelTooltip", msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: {
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof metrics;
      if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        bubbleFont = CreateFontIndirectW(&metrics.lfStatusFont);
      }
      break;
    }
    case WM_PAINT:
      PaintBubble(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam == BubbleTimer) OnBubbleTimer(hwnd);
      return 0;
    case WM_NCDESTROY:
      if (bubbleFont) DeleteObject(bubbleFont);
      bubbleFont = nullptr;
      if (CurrentEngineContext().bubbleWindow == hwnd) {
        CurrentEngineContext().bubbleWindow = nullptr;
        CurrentEngineContext().bubbleVisible = false;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace rt

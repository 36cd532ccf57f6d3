// The common message handler every window of a form goes through: a pass
// before the class's default processing and a pass after it, the reflection
// of parent notifications, keyboard navigation, mouse events and the deferred
// focus messages.
#pragma once

#include <cstdint>

#include "platform/user.h"

namespace rt {

struct WindowRecord;
struct ControlRecord;
class FormState;

// The engine's private messages.
inline constexpr UINT WM_REFLECT = 0x77EA;  // wParam: ReflectionRequest*
inline constexpr UINT WM_FOCUS_ENTERED = WM_USER + 6;
inline constexpr UINT WM_FOCUS_GAINED = WM_USER + 7;
inline constexpr UINT WM_FOCUS_LEFT = WM_USER + 8;
inline constexpr UINT WM_FOCUS_LOSS_DONE = WM_USER + 9;
inline constexpr UINT WM_DEFERRED_RELEASE = WM_USER + 10;
inline constexpr UINT WM_FORM_ACTIVATED = WM_USER + 11;
inline constexpr UINT WM_FORM_DEACTIVATED = WM_USER + 12;
inline constexpr UINT WM_FOCUS_EVENT = WM_USER + 13;
// Re-posts of WM_USER+11 and WM_USER+12 before they act anyway.
inline constexpr int MaxFocusReposts = 10;

// A notification handed back from the parent to the control it concerns.
struct ReflectionRequest {
  HWND window;  // the parent the notification was sent to
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
  uint8_t handled;
};

// Before pass: true when the message was handled (*result is the answer).
// keyPreview marks the call of the message loop's key preview (the form
// looks at a key meant for one of its controls).
bool BeforePass(WindowRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                LRESULT* result, bool keyPreview);
// After pass, with the result of default processing.
void AfterPass(WindowRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
               LRESULT result);

// The window procedure pattern shared by the engine's classes: trace, map
// the handle on WM_NCCREATE/WM_NCDESTROY, before pass, `base`, after pass,
// with the destruction guard.
LRESULT ControlProcedure(const char* label, WNDPROC base, HWND hwnd, UINT msg, WPARAM wParam,
                         LPARAM lParam);

// Subclasses the record's window: from now on its messages go through the
// common handler, then to the procedure it had.
void Subclass(WindowRecord& record);

// Keyboard navigation (also used by controls: SetFocus of a windowless
// control, the initial focus of a shown form).
// The next candidate in tab order after `from` (null: from the start);
// backward with Shift+Tab. Null when there is none.
ControlRecord* NextTabCandidate(FormState& form, ControlRecord* from, bool backward);
// Moves the focus to a control (option-group rule applied); false if vetoed.
bool FocusControl(FormState& form, ControlRecord& target);
// Focuses the first candidate in forward tab order.
void SetInitialFocus(FormState& form);
// Makes `control` the form's active control, with the default-button look.
void SetActiveControl(FormState& form, ControlRecord* control);

// The bubble tooltip.
void ArmBubble(ControlRecord& control, const POINT* cursor, bool immediate);
void ShowBubble();
void HideBubble();

}  // namespace rt

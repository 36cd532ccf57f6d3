// The language's MsgBox function.
#pragma once

#include "platform/oleauto.h"
#include "platform/user.h"

namespace rt {

// MsgBox(prompt, buttons, title, helpFile, context): shows a modal box and
// gives the identifier of the button chosen (1 OK ... 7 No). Any argument but
// `buttons` may be missing (Variant::Missing()). Strings are taken as they
// are, objects by their default value, other values converted under the user
// locale; a null object is error 91 and Null error 94, and a failed
// conversion returns its own status before any box is shown. Prompt and
// caption are cut to 1023 characters; a missing title shows the application
// title. `buttons` is the box's style as the caller combined it (MB_HELP
// gives it a Help button that opens the help file).
HRESULT MessageBoxFunction(const VARIANT& prompt, LONG buttons, const VARIANT& title,
                           const VARIANT& helpFile, const VARIANT& context, LONG* result);

// The window of the forms engine's current default owner form; null when
// there is none. The forms engine installs it; a null source means no owner.
using DefaultOwnerSource = HWND (*)();
void SetMessageBoxOwnerSource(DefaultOwnerSource source);

// The Help button's callback: opens the help file of the box being shown at
// its context (HELP_CONTEXT), or its contents when the context is 0
// (HELP_FINDER); when that fails, says so in a box of its own.
void MessageBoxHelpCallback(LPHELPINFO info);

// What the Help button calls to show help: WinHelpW unless replaced (tests
// watch the requests through it). Null restores WinHelpW.
using HelpViewer = BOOL (*)(HWND owner, LPCWSTR helpFile, UINT command, ULONG_PTR data);
void SetMessageBoxHelpViewer(HelpViewer viewer);

}  // namespace rt

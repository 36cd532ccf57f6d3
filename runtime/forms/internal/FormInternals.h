// Operations shared by the lifecycle code and the form window procedure.
#pragma once

#include <cstdint>
#include <span>

#include "platform/user.h"

namespace rt {

class FormState;

// The unload query: BeforeUnload on the form with `mode`, then with mode 5 on
// each owned form with a window. True when cancelled; sets query-done.
bool UnloadQuery(FormState& form, int mode);
void LinkOwnedForm(FormState& form, FormState& owner);
void UnlinkOwnedForm(FormState& form);
// Focuses the first candidate unless the focus is already inside the form.
void SetInitialFocusIfOutside(FormState& form);
// Hands the design blob to the design table (FormLoadHooks::installDesigns).
HRESULT InstallDesignBlob(std::span<const uint8_t> blob);
// The form window's set-up on its creation message.
void SetUpFormWindow(FormState& form, HWND hwnd);
// The hide notification of a form window.
void FormHidden(FormState& form);
// Destruction of a form window, before its children are destroyed.
void FormDestroyed(FormState& form);

}  // namespace rt

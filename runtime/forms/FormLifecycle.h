// Loading, showing, hiding and unloading forms; closing every form.
//
// Reentrancy: every operation here may run user code (Load, BeforeUnload,
// Unloading, activation and focus events) and Show with the modal flag runs a
// nested message loop that returns when the form is hidden. The caller must
// hold a reference to the form object across the call; the engine holds
// references to the records it works on.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/types.h"

namespace rt {

class EngineControl;
class FormState;

// The engine record of a form object, creating one (not loaded) on first
// call. The record keeps a counted reference to the object; the form object
// should call DetachForm when it is finally released.
FormState* FormStateOf(EngineControl* form);
FormState* FindFormState(EngineControl* form);
void DetachForm(EngineControl* form);

// Loads the form if it has no window; a no-op for a loaded form.
HRESULT EnsureFormIsLoaded(EngineControl* form);
// modal: any non-zero value; owner may be null (the active form for a modal
// show, the hidden application window otherwise). Errors 400 and 401.
HRESULT Show(EngineControl* form, SHORT modal, EngineControl* owner);
// Hides the window; ends a modal Show.
HRESULT Hide(EngineControl* form);
// Asks BeforeUnload with mode 1, then closes the window unless cancelled.
HRESULT Unload(EngineControl* form);
// Posts a close request to every loaded form (the end statement's path).
// Returns the bad node when the list is corrupt, else null.
FormState* CloseAll();
// Releases a form record later, from the hidden window's queue (records
// released from inside their own message processing).
void DeferRelease(FormState* record, IUnknown* object);

// Number of loaded top-level forms of this thread.
int LoadedFormCount();

struct ControlRecord;

// Allocates the record of a control of `form` inside `container` (the form's
// own record when null), lets the object keep it and fill its window record,
// and appends it to the container's child list.
ControlRecord& BuildControlRecord(FormState& form, ControlRecord* container, EngineControl* object);

// Unloads a control added at run time (or any control the program
// removes): destroys its window and those of its children, stops its timer,
// drops its listeners and terminates it. The record stays with the form
// (marked removed) so a window procedure still running for it stays safe.
HRESULT RemoveControl(ControlRecord& record);

// Steps of loading that belong to the design code. buildDesign creates the
// form's design objects and their records (step 5 of loading); layout turns
// placements into pixels and creates the control windows (step 9). Without
// hooks, loading uses the records already built and DefaultLayoutPass.
struct FormLoadHooks {
  // Engine start-up hands the design blob here (the design table).
  std::function<HRESULT(std::span<const uint8_t>)> installDesigns;
  std::function<HRESULT(FormState&)> buildDesign;
  std::function<HRESULT(FormState&)> layout;
};
void SetFormLoadHooks(FormLoadHooks hooks);
// Copies scales down the control tree and creates each control's window.
HRESULT DefaultLayoutPass(FormState& form);

// Errors of Show (filled with their texts).
inline constexpr int ErrFormAlreadyDisplayed = 400;
inline constexpr int ErrModalFormDisplayed = 401;
// Show of a form whose close is under way.
inline constexpr int ErrObjectUnloaded = 364;

}  // namespace rt

// Loading, showing, hiding and unloading forms; closing every form.
//
// Reentrancy: every operation here may run user code (Load, BeforeUnload,
// Unloading, activation and focus events) and Show with the modal flag runs a
// nested message loop that returns when the form is hidden. The caller must
// hold a reference to the form object across the call; the engine holds
// references to the records it works on.
#pragma once

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

}  // namespace rt

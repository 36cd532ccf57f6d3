// Reading a compiled form's design: the objects of the design record are
// created through the class registry, stored in the form's member slots
// depth-first (the form's own object first, each container followed by its
// children) and, where the design says so, connected to the form's event
// sink for their member id. The elements of a control array (objects whose
// blocks give a name and an index, DesignIdentity.h) share one slot, the
// one of the array's first element, which holds the ControlArray; each
// element's events go to that member's sink. Loading the form later builds
// the control records over those objects (each reads its property block
// then, and the record takes the design's name and index) and lays them
// out.
//
// Reentrancy: creating an object runs its class's creator, and connecting
// events calls Advise on the object; neither may load or unload forms.
// Failures show their message boxes from inside these calls.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "runtime/forms/CompiledForm.h"
#include "runtime/forms/FormState.h"

namespace rt {

// Reads the design of form.designIndex() into form.memberSlots(). A null
// design slot is an internal error (assertion hook) and fails. A design
// that does not read shows "Error 9405: Failed to deserialize form", waits
// one second and keeps the objects built so far (S_OK). The form object's
// FormState is created here (FormStateOf) and remembers the design's object
// tree until the form is loaded; the form's FormControls (its arrays and
// controls collection, arrays/FormControls.h) is made here too.
HRESULT LoadFormDesign(CompiledForm& form);

// Unadvises every sink the design connected for this form, detaches its
// FormControls and forgets its unloaded design (the form instance is going
// away).
void DisconnectFormDesign(CompiledForm& form);

// Connects (or disconnects) the events of an object of the form to the
// form's sink for a member id, as the design does for its objects; used for
// control array elements loaded at run time. S_OK when the form handles
// none of that member's events.
HRESULT ConnectMemberEvents(CompiledForm& form, IUnknown* object, REFIID events, DISPID member);
void DisconnectMemberEvents(CompiledForm& form, IUnknown* object);

// Load step 5: builds the control records of the form's design (the form's
// own record first, then each child in its container's child list), letting
// each object keep its record, read its property block and fill its window
// record. Nothing to do for a form without a pending design.
HRESULT BuildDesignRecords(FormState& form);

// Installs the design code into form loading (FormLoadHooks): the design
// table at engine start-up, BuildDesignRecords and RunLayoutPass.
void InstallDesignHooks();

}  // namespace rt

// The layout pass: scales flow from each container to its children and each
// control's window is created under its container's window.
//
// The form measures its children in twips (15 per pixel). A control's outer
// scale is its container's inner scale; its own inner scale is twips again
// unless its class keeps a scale of its own. Positions and sizes stay in the
// container's units in the placement; window creation turns them into
// pixels for the form's DPI, rounding half away from zero (0.4999).
// Children follow their container.
//
// Reentrancy: creating a window sends its creation messages, which reach
// the control (and through its events, user code).
#pragma once

#include "platform/types.h"

namespace rt {

class FormState;
struct ControlRecord;

// The whole form (load step 9, and a relayout).
HRESULT RunLayoutPass(FormState& form);
// One control and its children (a control added at run time).
HRESULT LayoutControl(ControlRecord& record);

}  // namespace rt

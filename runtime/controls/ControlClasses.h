// The classes of the form and the intrinsic controls, as the design reader
// and Add control create them: a class table for the forms engine and the
// design property layouts for the design compiler.
#pragma once

#include "runtime/forms/design/ClassRegistry.h"

namespace rt {

// {Form, TextBox, CommandButton, Label, Frame, CheckBox, Timer, Shape, the
// extender of outside controls},
// ended by an entry whose creator is null. Hand it to SetClassTable at
// engine start-up.
const ClassRegistryEntry* ControlClassTable();

// The yield to pending events (DoEvents) that the application reaches
// through its member interface; one reference in *out.
HRESULT CreateYieldObject(IUnknown** out);

}  // namespace rt

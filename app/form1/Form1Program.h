// Skiffwire as a program: Form1's compiled design (Form1.frm, compiled by
// designc at build time), the control classes the design names, and Form1
// as the start-up object of the process entry.
#pragma once

#include <span>

#include "app/form1/Form1Form.h"
#include "runtime/forms/ProcessEntry.h"

namespace skiffwire {

// The compressed design of the program's forms.
std::span<const BYTE> ProgramDesign();

// Gives the forms engine the control classes, their design layouts and the
// design code. Call before the engine starts (the process entry starts it).
void PrepareFormsEngine();

// Creates a Form1 instance through its design: the controls and the two
// hosted socket controls in its member slots, the handled members' events
// connected, the controls handed to Form1's procedures. The form is not
// loaded yet ("Show" or a member access loads it). The engine must be
// started and the socket control's class registered.
HRESULT CreateForm1(ComPtr<Form1Form>& out);
// The same with the language's DoEvents given (tests count its calls).
HRESULT CreateForm1(ComPtr<Form1Form>& out, ComPtr<IYield> runtime);

// The process entry's start-up object: CreateForm1 as an IUnknown.
HRESULT CreateForm1StartupObject(IUnknown** object);

// The whole program: the design, the engine's start-up and main loop, and
// Form1 as the start-up object.
rt::ProgramImage Program();

}  // namespace skiffwire

// Adding a control to a loaded form at run time (the controls collection's
// add operation).
//
// Reentrancy: creating the control's window sends its creation messages and
// the post-load pass runs the control's own start-up; user code reached from
// there must not unload the form while the call runs (the caller holds the
// form object).
#pragma once

#include <string_view>

#include "platform/com.h"

namespace rt {

class EngineControl;
class FormState;

// The class identifier of a programmatic type id ("Nx.TextBox"), compared
// case-insensitively in ASCII. "Nx.Menu" fails with run-time error 720, an
// unknown id with E_FAIL.
HRESULT ClassIdOfTypeId(std::u16string_view typeId, CLSID* clsid);

// The Form's own class identifier.
inline constexpr CLSID kFormClassId{
    0x33AD4F38, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

// Creates a control of typeId named `name` inside container (a control of
// the same form; null for the form itself), lays it out invisible, and
// returns it with a reference. A name already in use fails with run-time
// error 727 and creates nothing.
HRESULT AddControl(FormState& form, std::u16string_view typeId, std::u16string_view name,
                   EngineControl* container, EngineControl** out);

}  // namespace rt

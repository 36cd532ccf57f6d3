// The Print # statement. `Print #f, a; b` compiles to PrintSlot(f), then
// PrintItem for a and for b, then PrintEnd unless the statement ends with a
// separator.
#pragma once

#include "platform/oleauto.h"
#include "runtime/core/FileSlot.h"

namespace rt {

// The slot of an open file; E_FAIL for a number outside 1 to 512 or a free one.
HRESULT PrintSlot(LONG fileNumber, FileSlot** slot);

// Writes one value as text in the file's code page: numbers with a space
// before (unless negative) and after, dates with a space after, Null as
// "Null", error values as "Error n", Booleans as words, objects as their
// default value. E_FAIL when the value has no text or the write fails.
HRESULT PrintItem(FileSlot& slot, const VARIANT& value);

// Ends the line (CR LF).
HRESULT PrintEnd(FileSlot& slot);

// Print #fileNumber, value: one value and the line end.
HRESULT PrintLine(LONG fileNumber, const VARIANT& value);

}  // namespace rt

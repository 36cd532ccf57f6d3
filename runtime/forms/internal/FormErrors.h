// Run-time errors the forms engine raises with texts of its own.
#pragma once

#include "platform/types.h"

namespace rt {

// Fills the thread's error object with the number and text and returns the
// status of the number.
HRESULT RaiseEngineError(int number, const char16_t* text);

}  // namespace rt

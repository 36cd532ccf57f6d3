// The folder of the executable, as the language's App.Path gives it.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Without a trailing backslash, except at a drive root ("C:\", but
// "C:\Tools"). E_FAIL when the system cannot name the executable.
HRESULT AppPath(BSTR* path);

}  // namespace rt

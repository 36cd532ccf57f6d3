// The executable as a module: its instance handle and its path name.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform::internal {

// The executable's instance handle (never null).
HINSTANCE ExecutableInstance();

// The executable's full path in the platform's form (Z:\...), or the path a
// test set in its place.
std::u16string ExecutablePath();

}  // namespace platform::internal

// The window manager's side of the display driver registry.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// The thread whose message loop serves the driver; 0 when none installed one.
DWORD DisplayThreadId();

}  // namespace platform::internal

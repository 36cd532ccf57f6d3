// The window procedures of the system classes "BUTTON", "EDIT" and
// "STATIC", registered by the class registry at start.
#pragma once

#include "platform/user.h"

namespace platform::internal {

LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::internal

// The window procedures of the engine's own classes.
#pragma once

#include "platform/user.h"

namespace rt {

LRESULT FormProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT BubbleProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT HiddenWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// True when the optional AdjustWindowRectExForDpi was found at start-up.
bool HaveAdjustWindowRectExForDpi();

}  // namespace rt

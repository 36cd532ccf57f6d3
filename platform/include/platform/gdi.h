// Drawing services. So far only the device-context stub that reports the
// screen's size and resolution; the drawing work extends this header.
#pragma once

#include "platform/types.h"

// GetDeviceCaps indexes
inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// A device context of the screen (null window) or of a window; it cannot draw
// yet. ReleaseDC answers 1 for a context from GetDC.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
// Answers the display driver's screen size and resolution; 0 for unknown
// indexes or contexts.
int GetDeviceCaps(HDC dc, int index);

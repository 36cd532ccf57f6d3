// Engine start-up (window classes, screen metrics, cursors) and the creation
// of the windows the engine owns.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/user.h"

namespace rt {

class FormState;
struct WindowRecord;

// Once per process: DPI awareness, screen metrics, the optional entry points,
// every window class in table order, the cursor table and the 768-slot
// table. The design blob (or an empty span) is handed to the design table by
// the designs code; start-up here only keeps it. Idempotent.
HRESULT StartEngine(std::span<const uint8_t> designBlob = {});

// The process entry's start-up of the engine: StartEngine with the design
// blob (handed on to the design table through FormLoadHooks::installDesigns).
HRESULT StartFormsEngine(const BYTE* blob, size_t size);

// The module instance the engine registers its classes with.
HINSTANCE EngineInstance();

// The hidden application window of this thread ("BrammelRT6Main", titled
// "Plumbridge"), created on first call. Failure shows "Failed to create
// window with class BrammelRT6Main." and returns E_FAIL.
HRESULT EnsureHiddenWindow();
// The parking window of this thread, created on first use.
HWND ParkingWindow();

// Creates the window of a record: MDI child, windowless (sinks notified only),
// parent choice, style, child id, position and size from the control's
// placement, subclassing, tab stop and the deferred show. `loading` is the
// form being loaded (default position), or null. parent may be null.
HRESULT CreateWindowForRecord(WindowRecord& record, FormState* loading, HWND parent);

// Removes the visual theme from a window.
void RemoveTheme(HWND hwnd);

// Screen metrics, refreshed at start-up and on every display change.
struct ScreenMetrics {
  int widthPixels = 0;
  int heightPixels = 0;
  int dpiX = 96;
  int dpiY = 96;
  double twipsPerPixelX = 0;  // 1440 / dpiX
  double twipsPerPixelY = 0;
  double widthTwips = 0;
  double heightTwips = 0;
  // Pixels per scale unit at 96 DPI, indexed by scale mode 1..8 (0 unused).
  std::array<double, 9> unitsX{};
  std::array<double, 9> unitsY{};
};
void RefreshScreenMetrics();
ScreenMetrics CurrentScreenMetrics();

// The system cursor of a MousePointer value (19 and above count as 0).
HCURSOR CursorForMousePointer(int mousePointer);

// 0.4999 rounding of the layout: half away from zero, just below one half.
int RoundLayout(double value);

}  // namespace rt

// Where a window's pixels lie in its top-level window's surface, and which
// of them it may draw: its rectangle within every ancestor's client area,
// less the siblings above it when it clips siblings and less its children
// when it clips children.
#pragma once

#include <memory>
#include <optional>

#include "internal/Region.h"
#include "internal/WindowSurface.h"

namespace platform::internal {

struct WindowArea {
  std::shared_ptr<WindowSurface> surface;
  POINT origin{};  // the client (or window) top left in surface pixels
  SIZE size{};
  Region visible;  // surface pixels
};

class WindowVisibility {
 public:
  // Null for an unknown window or the desktop.
  static std::optional<WindowArea> areaOf(HWND hwnd, bool wholeWindow);
  // The top-level window a window is drawn in.
  static HWND rootOf(HWND hwnd);
};

}  // namespace platform::internal

// Tells the display driver what a finished drawing changed on a top-level
// window's surface, so that it presents only that.
#pragma once

#include "internal/DeviceContext.h"

namespace platform::internal {

class SurfaceDamage {
 public:
  // The context of a window is being released (EndPaint, ReleaseDC).
  static void report(const DeviceContext& context);
};

}  // namespace platform::internal

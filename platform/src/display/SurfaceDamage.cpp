#include "internal/SurfaceDamage.h"

#include "internal/WindowVisibility.h"
#include "platform/display.h"

namespace platform::internal {

void SurfaceDamage::report(const DeviceContext& context) {
  if (context.isMemory() || !context.window()) return;
  Region drawn = context.clipArea();
  if (drawn.empty()) return;
  RECT bounds = drawn.bounds();
  POINT origin = context.surfaceOrigin();
  bounds.left += origin.x;
  bounds.right += origin.x;
  bounds.top += origin.y;
  bounds.bottom += origin.y;
  CurrentDisplay().surfacePainted(WindowVisibility::rootOf(context.window()), bounds);
}

}  // namespace platform::internal

#include "internal/DisplayScale.h"

#include "platform/display.h"
#include "platform/kernel.h"

namespace platform::internal {

int PixelsForDisplay(int pixelsAt96) {
  return MulDiv(pixelsAt96, CurrentDisplay().dpi(), 96);
}

}  // namespace platform::internal

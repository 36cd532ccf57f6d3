// Sizes given for 96 dots per inch, scaled to the display's current
// resolution (MulDiv rounding).
#pragma once

namespace platform::internal {

int PixelsForDisplay(int pixelsAt96);

}  // namespace platform::internal

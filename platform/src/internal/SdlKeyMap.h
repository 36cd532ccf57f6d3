// Native keys as virtual keys.
#pragma once

#include <SDL.h>

namespace platform::internal {

class SdlKeyMap {
 public:
  // The virtual key of a key (by its position for letters and digits, so
  // that shortcuts work on every layout); 0 when it has none.
  static int virtualKeyOf(const SDL_Keysym& key);
};

}  // namespace platform::internal

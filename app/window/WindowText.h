// The text of a window, read through the window manager.
#pragma once

#include <string>

#include "platform/user.h"

namespace skiffwire {

std::u16string WindowText(HWND hwnd);

}  // namespace skiffwire

// The layered attributes of a window with an Opacity and a TransparencyKey
// (the form, the text box and the frame share them).
#pragma once

#include <cstdint>

#include "platform/user.h"

namespace rt {

// The colour key is in use unless it is -1; the opacity while
// 0 <= opacity < 100. In use: WS_EX_LAYERED is added and the alpha
// (opacity x 255 / 100, rounded) and colour key are set. Otherwise the
// layered style is removed. E_INVALIDARG for a key that is no colour.
HRESULT ApplyLayeredAttributes(HWND hwnd, double opacity, int32_t transparencyKey);

// The alpha of an opacity percentage.
BYTE AlphaOfOpacity(double opacity);

}  // namespace rt

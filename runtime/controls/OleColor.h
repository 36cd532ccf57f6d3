// OLE colours: 0x00BBGGRR, palette indexes (0x01), palette-relative RGB
// (0x02) and system colours (0x80000000 + index).
#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"

namespace rt {

using OLE_COLOR = uint32_t;

// The default colours of the controls.
namespace colour {
inline constexpr OLE_COLOR WindowBackground = 0x80000005;
inline constexpr OLE_COLOR WindowText = 0x80000008;
inline constexpr OLE_COLOR ButtonFace = 0x8000000F;
inline constexpr OLE_COLOR ButtonText = 0x80000012;
inline constexpr OLE_COLOR ScrollBar = 0x80000000;
// "No colour" of a transparency key.
inline constexpr int32_t None = -1;
}  // namespace colour

// The highest system colour index a colour may name.
inline constexpr uint32_t kLastSystemColour = 30;

// Converts an OLE colour to an RGB value. With a palette, a plain RGB value
// comes back marked palette-relative (0x02) and a palette index must exist
// in it. E_INVALIDARG for any other top byte, a system colour index above 30
// or an index outside the palette.
HRESULT TranslateColor(OLE_COLOR colour, std::span<const COLORREF> palette, COLORREF* rgb);
inline HRESULT TranslateColor(OLE_COLOR colour, COLORREF* rgb) {
  return TranslateColor(colour, {}, rgb);
}

}  // namespace rt

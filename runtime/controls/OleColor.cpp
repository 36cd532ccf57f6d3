#include "runtime/controls/OleColor.h"

#include "platform/gdi.h"

namespace rt {

HRESULT TranslateColor(OLE_COLOR colour, std::span<const COLORREF> palette, COLORREF* rgb) {
  if (!rgb) return E_POINTER;
  const uint32_t kind = colour >> 24;
  switch (kind) {
    case 0x00:
      *rgb = palette.empty() ? colour : (colour | 0x02000000);
      return S_OK;
    case 0x01: {
      const uint32_t index = colour & 0xFFFF;
      if (index >= palette.size()) return E_INVALIDARG;
      *rgb = colour;
      return S_OK;
    }
    case 0x02:
      *rgb = colour;
      return S_OK;
    case 0x80: {
      const uint32_t index = colour & 0xFF;
      if (index > kLastSystemColour) return E_INVALIDARG;
      *rgb = GetSysColor(static_cast<int>(index));
      return S_OK;
    }
    default:
      return E_INVALIDARG;
  }
}

}  // namespace rt

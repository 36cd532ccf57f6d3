#include "runtime/controls/LayeredAttributes.h"

#include <cmath>

#include "runtime/controls/OleColor.h"

namespace rt {

BYTE AlphaOfOpacity(double opacity) {
  return static_cast<BYTE>(std::lround(opacity * 255.0 / 100.0));
}

HRESULT ApplyLayeredAttributes(HWND hwnd, double opacity, int32_t transparencyKey) {
  if (!hwnd) return S_OK;
  const bool keyInUse = transparencyKey != -1;
  const bool opacityInUse = opacity >= 0 && opacity < 100;
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  if (!keyInUse && !opacityInUse) {
    if (exStyle & WS_EX_LAYERED) {
      SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle & ~WS_EX_LAYERED));
    }
    return S_OK;
  }
  COLORREF key = 0;
  if (keyInUse) {
    const HRESULT converted = TranslateColor(static_cast<OLE_COLOR>(transparencyKey), &key);
    if (FAILED(converted)) return converted;
  }
  if (!(exStyle & WS_EX_LAYERED)) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle | WS_EX_LAYERED));
  }
  const DWORD flags = (opacityInUse ? LWA_ALPHA : 0) | (keyInUse ? LWA_COLORKEY : 0);
  const BYTE alpha = opacityInUse ? AlphaOfOpacity(opacity) : 255;
  if (!SetLayeredWindowAttributes(hwnd, key, alpha, flags)) return E_FAIL;
  return S_OK;
}

}  // namespace rt

#include "app/window/WindowLabel.h"

#include <string>

#include "app/window/WindowText.h"

namespace skiffwire {

WindowLabel::WindowLabel() : WindowControl(DIID_LabelEvents) {}

HRESULT WindowLabel::get_Caption(BSTR* caption) {
  if (!caption) return E_POINTER;
  *caption = Bstr(WindowText(hwnd())).release();
  return S_OK;
}

HRESULT WindowLabel::put_Caption(BSTR caption) {
  SetWindowTextW(hwnd(), std::u16string(ViewOf(caption)).c_str());
  return S_OK;
}

}  // namespace skiffwire

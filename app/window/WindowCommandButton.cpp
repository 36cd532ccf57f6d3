#include "app/window/WindowCommandButton.h"

#include <string>

#include "app/window/WindowText.h"
#include "platform/controls.h"

namespace skiffwire {

WindowCommandButton::WindowCommandButton() : WindowControl(DIID_CommandButtonEvents) {}

HRESULT WindowCommandButton::get_Caption(BSTR* caption) {
  if (!caption) return E_POINTER;
  *caption = Bstr(WindowText(hwnd())).release();
  return S_OK;
}

HRESULT WindowCommandButton::put_Caption(BSTR caption) {
  SetWindowTextW(hwnd(), std::u16string(ViewOf(caption)).c_str());
  return S_OK;
}

HRESULT WindowCommandButton::put_Enabled(VARIANT_BOOL enabled) {
  EnableWindow(hwnd(), enabled != VARIANT_FALSE);
  return S_OK;
}

void WindowCommandButton::onNotification(WORD code) {
  if (code != BN_CLICKED) return;
  ComPtr<ICommandButton> keepAlive(this);
  raise(kClickEvent);
}

}  // namespace skiffwire

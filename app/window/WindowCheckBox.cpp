#include "app/window/WindowCheckBox.h"

#include "platform/controls.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {

WindowCheckBox::WindowCheckBox() : WindowControl(DIID_CheckBoxEvents) {}

HRESULT WindowCheckBox::get_Value(SHORT* value) {
  if (!value) return E_POINTER;
  *value = static_cast<SHORT>(SendMessageW(hwnd(), BM_GETCHECK, 0, 0));
  return S_OK;
}

HRESULT WindowCheckBox::put_Value(SHORT value) {
  if (value < 0 || value > kGrayed) {
    return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  }
  if (SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == value) return S_OK;
  SendMessageW(hwnd(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
  raise(kClickEvent);
  return S_OK;
}

void WindowCheckBox::onNotification(WORD code) {
  if (code != BN_CLICKED) return;
  ComPtr<ICheckBox> keepAlive(this);
  raise(kClickEvent);
}

}  // namespace skiffwire

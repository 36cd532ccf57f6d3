#include "app/window/WindowTextBox.h"

#include "app/window/WindowText.h"
#include "platform/controls.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {

WindowTextBox::WindowTextBox() : WindowControl(DIID_TextBoxEvents) {}

HRESULT WindowTextBox::get_Text(BSTR* text) {
  if (!text) return E_POINTER;
  *text = Bstr(WindowText(hwnd())).release();
  return S_OK;
}

HRESULT WindowTextBox::put_Text(BSTR text) {
  const std::u16string wanted(ViewOf(text));
  if (wanted == WindowText(hwnd())) return S_OK;
  settingText_ = true;
  SetWindowTextW(hwnd(), wanted.c_str());
  settingText_ = false;
  raise(kChangeEvent);
  return S_OK;
}

HRESULT WindowTextBox::put_SelStart(LONG start) {
  if (start < 0) return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
  SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
  return S_OK;
}

HRESULT WindowTextBox::put_Enabled(VARIANT_BOOL enabled) {
  EnableWindow(hwnd(), enabled != VARIANT_FALSE);
  return S_OK;
}

void WindowTextBox::onNotification(WORD code) {
  if (code != EN_CHANGE || settingText_) return;
  ComPtr<ITextBox> keepAlive(this);
  raise(kChangeEvent);
}

}  // namespace skiffwire

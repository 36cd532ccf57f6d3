#include "app/window/WindowTextBox.h"

#include <algorithm>

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

void WindowTextBox::selection(DWORD* start, DWORD* end) const {
  *start = 0;
  *end = 0;
  SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
}

HRESULT WindowTextBox::get_SelStart(LONG* start) {
  if (!start) return E_POINTER;
  DWORD from, to;
  selection(&from, &to);
  *start = static_cast<LONG>(from);
  return S_OK;
}

HRESULT WindowTextBox::get_SelLength(LONG* length) {
  if (!length) return E_POINTER;
  DWORD from, to;
  selection(&from, &to);
  *length = static_cast<LONG>(to - from);
  return S_OK;
}

HRESULT WindowTextBox::put_SelLength(LONG length) {
  if (length < 0) return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  DWORD from, to;
  selection(&from, &to);
  const auto size = static_cast<DWORD>(GetWindowTextLengthW(hwnd()));
  const DWORD end = std::min<DWORD>(from + static_cast<DWORD>(length), size);
  SendMessageW(hwnd(), EM_SETSEL, from, end);
  SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
  return S_OK;
}

HRESULT WindowTextBox::get_SelText(BSTR* text) {
  if (!text) return E_POINTER;
  DWORD from, to;
  selection(&from, &to);
  const std::u16string all = WindowText(hwnd());
  from = std::min<DWORD>(from, static_cast<DWORD>(all.size()));
  to = std::min<DWORD>(std::max(from, to), static_cast<DWORD>(all.size()));
  *text = Bstr(std::u16string_view(all).substr(from, to - from)).release();
  return S_OK;
}

HRESULT WindowTextBox::put_SelText(BSTR text) {
  const std::u16string before = WindowText(hwnd());
  const std::u16string inserted(ViewOf(text));
  settingText_ = true;
  SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(inserted.c_str()));
  settingText_ = false;
  // One Change for a replacement that changed the text, however the edit
  // control reported it.
  if (WindowText(hwnd()) != before) raise(kChangeEvent);
  return S_OK;
}

void WindowTextBox::onNotification(WORD code) {
  if (code != EN_CHANGE || settingText_) return;
  ComPtr<ITextBox> keepAlive(this);
  raise(kChangeEvent);
}

}  // namespace skiffwire

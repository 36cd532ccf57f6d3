#include "app/simulated/SimulatedTextBox.h"

#include <algorithm>

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {

SimulatedTextBox::SimulatedTextBox(std::u16string_view text)
    : SimulatedControl(DIID_TextBoxEvents), text_(text) {}

HRESULT SimulatedTextBox::get_Text(BSTR* text) {
  if (!text) return E_POINTER;
  *text = Bstr(text_).release();
  return S_OK;
}

HRESULT SimulatedTextBox::put_Text(BSTR text) {
  setText(ViewOf(text));
  return S_OK;
}

HRESULT SimulatedTextBox::put_SelStart(LONG start) {
  if (start < 0) return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  selStart_ = std::min<LONG>(start, static_cast<LONG>(text_.size()));
  ++selStartWrites_;
  return S_OK;
}

HRESULT SimulatedTextBox::put_Enabled(VARIANT_BOOL enabled) {
  enabled_ = enabled != VARIANT_FALSE;
  return S_OK;
}

void SimulatedTextBox::type(std::u16string_view text) {
  setText(text);
}

void SimulatedTextBox::setText(std::u16string_view text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = std::min<LONG>(selStart_, static_cast<LONG>(text_.size()));
  raise(kChangeEvent);
}

}  // namespace skiffwire

#include "support/simulated/SimulatedTextBox.h"

#include <algorithm>

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {
namespace {

HRESULT InvalidValue() {
  return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
}

}  // namespace

SimulatedTextBox::SimulatedTextBox(std::u16string_view text)
    : SimulatedControl(DIID_TextBoxEvents), text_(text) {}

HRESULT SimulatedTextBox::get_Text(BSTR* text) {
  if (!text) return E_POINTER;
  *text = Bstr(text_).release();
  return S_OK;
}

// A new text starts with the caret at its beginning, as in the edit window.
HRESULT SimulatedTextBox::put_Text(BSTR text) {
  if (ViewOf(text) == text_) return S_OK;
  selStart_ = selLength_ = 0;
  setText(ViewOf(text));
  return S_OK;
}

HRESULT SimulatedTextBox::put_SelStart(LONG start) {
  if (start < 0) return InvalidValue();
  selStart_ = std::min(start, length());
  selLength_ = 0;
  ++selStartWrites_;
  return S_OK;
}

HRESULT SimulatedTextBox::put_Enabled(VARIANT_BOOL enabled) {
  enabled_ = enabled != VARIANT_FALSE;
  return S_OK;
}

HRESULT SimulatedTextBox::get_SelStart(LONG* start) {
  if (!start) return E_POINTER;
  *start = selStart_;
  return S_OK;
}

HRESULT SimulatedTextBox::get_SelLength(LONG* length) {
  if (!length) return E_POINTER;
  *length = selLength_;
  return S_OK;
}

HRESULT SimulatedTextBox::put_SelLength(LONG length) {
  if (length < 0) return InvalidValue();
  selLength_ = std::min(length, this->length() - selStart_);
  return S_OK;
}

HRESULT SimulatedTextBox::get_SelText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = Bstr(std::u16string_view(text_).substr(static_cast<size_t>(selStart_),
                                                 static_cast<size_t>(selLength_)))
              .release();
  return S_OK;
}

// Only the selection and what replaces it are touched, so appending to a
// long text costs what is appended.
HRESULT SimulatedTextBox::put_SelText(BSTR text) {
  const std::u16string_view with = ViewOf(text);
  const auto start = static_cast<size_t>(selStart_);
  const auto removed = static_cast<size_t>(selLength_);
  const bool changes = std::u16string_view(text_).substr(start, removed) != with;
  text_.replace(start, removed, with);
  selStart_ += static_cast<LONG>(with.size());
  selLength_ = 0;
  if (changes) raise(kChangeEvent);
  return S_OK;
}

void SimulatedTextBox::type(std::u16string_view text) {
  setText(text);
}

void SimulatedTextBox::setText(std::u16string_view text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = std::min(selStart_, length());
  selLength_ = std::min(selLength_, length() - selStart_);
  raise(kChangeEvent);
}

}  // namespace skiffwire

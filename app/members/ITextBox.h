// The text box members the application uses. Event: Change (kChangeEvent)
// whenever the text changes (through Text or SelText), through
// DIID_TextBoxEvents.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ITextBox{
    0x89B383B4, 0x3FC0, 0x464D, {0xA0, 0xAD, 0x86, 0xA7, 0x5A, 0xEB, 0x52, 0xD3}};

struct ITextBox : IDispatch {
  // A copy of the current text.
  virtual HRESULT get_Text(BSTR* text) = 0;
  // Replaces the whole text; raises Change when it differs. A new text puts
  // the caret at the start with nothing selected.
  virtual HRESULT put_Text(BSTR text) = 0;
  // Moves the caret (and scrolls it into view); a negative position fails
  // with run-time error 380.
  virtual HRESULT put_SelStart(LONG start) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
  // The selection: its start (0-based), its length and its text. A start
  // beyond the end puts the caret at the end; a length reaching past the
  // end selects up to the end.
  virtual HRESULT get_SelStart(LONG* start) = 0;
  virtual HRESULT get_SelLength(LONG* length) = 0;
  // Selects `length` characters from the selection's start and scrolls the
  // caret into view; a negative length fails with run-time error 380.
  virtual HRESULT put_SelLength(LONG length) = 0;
  virtual HRESULT get_SelText(BSTR* text) = 0;
  // Replaces the selection with `text` and puts the caret after it; raises
  // Change when the text changes. Costs time in what is replaced and
  // inserted, not in the length of the whole text.
  virtual HRESULT put_SelText(BSTR text) = 0;

 protected:
  ~ITextBox() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ITextBox> {
  static constexpr const IID& value = skiffwire::IID_ITextBox;
};

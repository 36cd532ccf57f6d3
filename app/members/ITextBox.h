// The text box members the application uses. Event: Change (kChangeEvent)
// when Text let changes the text, through DIID_TextBoxEvents.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ITextBox{
    0x89B383B4, 0x3FC0, 0x464D, {0xA0, 0xAD, 0x86, 0xA7, 0x5A, 0xEB, 0x52, 0xD3}};

struct ITextBox : IDispatch {
  // A copy of the current text.
  virtual HRESULT get_Text(BSTR* text) = 0;
  // Replaces the whole text; raises Change when it differs.
  virtual HRESULT put_Text(BSTR text) = 0;
  // Moves the caret (and scrolls it into view); a negative position fails
  // with run-time error 380.
  virtual HRESULT put_SelStart(LONG start) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;

 protected:
  ~ITextBox() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ITextBox> {
  static constexpr const IID& value = skiffwire::IID_ITextBox;
};

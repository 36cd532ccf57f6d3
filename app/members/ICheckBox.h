// The check box members the application uses. Event: Click (kClickEvent)
// through DIID_CheckBoxEvents when Value let changes the value.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ICheckBox{
    0xEF8934EF, 0x09C3, 0x4CF4, {0xBA, 0x84, 0x5D, 0x86, 0x8A, 0x6B, 0x03, 0x5F}};

// Check box values.
inline constexpr SHORT kUnchecked = 0;
inline constexpr SHORT kChecked = 1;
inline constexpr SHORT kGrayed = 2;

struct ICheckBox : IDispatch {
  virtual HRESULT get_Value(SHORT* value) = 0;
  // A negative value fails with run-time error 380 and leaves the box as it
  // was; a different value raises Click.
  virtual HRESULT put_Value(SHORT value) = 0;

 protected:
  ~ICheckBox() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ICheckBox> {
  static constexpr const IID& value = skiffwire::IID_ICheckBox;
};

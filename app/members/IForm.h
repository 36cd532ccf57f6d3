// The form members the application uses. Events through DIID_FormEvents:
// load (kFormLoadEvent) and unload (kFormUnloadEvent, with Cancel).
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_IForm{
    0x690286FC, 0x8834, 0x40E3, {0x83, 0xA7, 0x18, 0x77, 0xB2, 0xA2, 0xD1, 0x57}};

struct IForm : IDispatch {
  virtual HRESULT put_Caption(BSTR caption) = 0;

 protected:
  ~IForm() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::IForm> {
  static constexpr const IID& value = skiffwire::IID_IForm;
};

// The command button members the application uses. Event: Click
// (kClickEvent) through DIID_CommandButtonEvents.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ICommandButton{
    0x13F34C55, 0xE74B, 0x4E28, {0x97, 0x1C, 0x17, 0x6C, 0x43, 0xC7, 0x3A, 0x24}};

struct ICommandButton : IDispatch {
  virtual HRESULT get_Caption(BSTR* caption) = 0;
  virtual HRESULT put_Caption(BSTR caption) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;

 protected:
  ~ICommandButton() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ICommandButton> {
  static constexpr const IID& value = skiffwire::IID_ICommandButton;
};

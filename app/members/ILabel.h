// The label members the application uses.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_ILabel{
    0xBF20A67C, 0x3CC7, 0x4D26, {0x87, 0x0A, 0x76, 0xC4, 0xD1, 0x64, 0xFD, 0x9D}};

struct ILabel : IDispatch {
  virtual HRESULT get_Caption(BSTR* caption) = 0;
  virtual HRESULT put_Caption(BSTR caption) = 0;

 protected:
  ~ILabel() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::ILabel> {
  static constexpr const IID& value = skiffwire::IID_ILabel;
};

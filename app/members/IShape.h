// The shape members the application uses.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_IShape{
    0xF568313A, 0xAA15, 0x48E7, {0xB7, 0x08, 0xFD, 0x49, 0xAF, 0x50, 0xCF, 0x2A}};

struct IShape : IDispatch {
  // An OLE colour (0x00BBGGRR).
  virtual HRESULT put_FillColor(DWORD color) = 0;

 protected:
  ~IShape() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::IShape> {
  static constexpr const IID& value = skiffwire::IID_IShape;
};

// The language's yield to pending events (DoEvents), as the runtime offers it
// to the application.
#pragma once

#include "app/members/MemberTypes.h"

namespace skiffwire {

inline constexpr IID IID_IYield{
    0x258F2DCD, 0xCC52, 0x4409, {0xB3, 0xDF, 0x55, 0x90, 0x46, 0xD5, 0x65, 0x2C}};

struct IYield : IDispatch {
  // Dispatches every message already queued for the thread without waiting
  // for new ones; gives the number of loaded forms.
  virtual HRESULT DoEvents(SHORT* loadedForms) = 0;

 protected:
  ~IYield() = default;
};

}  // namespace skiffwire

template <>
struct InterfaceId<skiffwire::IYield> {
  static constexpr const IID& value = skiffwire::IID_IYield;
};

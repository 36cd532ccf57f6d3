// The name and array index a design gives an object.
//
// They travel in the object's property block like any other property: a
// class whose layout has a "Name" field (String) and an "Index" field
// (Integer) can be named and grouped into control arrays by its design. The
// loader reads them through the class's registered layout when the design
// is read, before the class itself decodes its block (when the form loads),
// so that array elements can share one member slot.
//
// Reading decodes the block into scratch storage: embedded objects are
// created and dropped again (without their events), and a block that does
// not decode yields no identity (the class's own read reports it later).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/types.h"

namespace rt {

struct DesignIdentity {
  std::u16string name;  // empty: the design names the object not
  int32_t index = -1;   // -1: not an element of a control array
};

// The identity stored in `block` for an object of class `clsid`; empty
// when the class has no registered layout or its layout has neither field.
DesignIdentity ReadDesignIdentity(const CLSID& clsid, std::span<const uint8_t> block);

}  // namespace rt

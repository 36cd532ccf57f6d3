// Which VARTYPE values a VARIANT may carry, and what each payload owns.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// True when vt is a type a VARIANT may hold: a base type (optionally with
// VT_ARRAY or VT_BYREF), never the unused 15, never Empty or Null by
// reference or as an array.
bool IsValidVariantType(VARTYPE vt);

// The base type without the VT_ARRAY and VT_BYREF modifiers.
constexpr VARTYPE BaseType(VARTYPE vt) {
  return vt & VT_TYPEMASK;
}
constexpr bool IsByRef(VARTYPE vt) {
  return (vt & VT_BYREF) != 0;
}
constexpr bool IsArray(VARTYPE vt) {
  return (vt & VT_ARRAY) != 0;
}

// Copies the byte length of a BSTR exactly (odd lengths and embedded NULs
// included); a null BSTR stays null. False when memory runs out.
bool CopyBstr(BSTR source, BSTR* copy);

}  // namespace platform::internal

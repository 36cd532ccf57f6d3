// IDispatch's type-information members for an object that offers none: its
// callers find members by name (GetIDsOfNames) and call them by id.
#pragma once

#include "platform/com.h"

namespace rt {

inline HRESULT NoTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

inline HRESULT NoTypeInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

}  // namespace rt

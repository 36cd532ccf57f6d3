#include "runtime/library/internal/LibrarySupport.h"

namespace rt::internal {

bool IsMissing(const VARIANT& argument) {
  const VARIANT* v = &argument;
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
    v = v->pvarVal;
  if (v->vt == VT_ERROR) return v->scode == DISP_E_PARAMNOTFOUND;
  if (v->vt == (VT_BYREF | VT_ERROR)) return v->pscode && *v->pscode == DISP_E_PARAMNOTFOUND;
  return false;
}

HRESULT AllocateText(std::u16string_view text, BSTR* out) {
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace rt::internal

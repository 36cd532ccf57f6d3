// VARIANT life cycle: initialisation, clearing, copying and by-reference
// indirection.
#include <cstring>

#include "internal/VariantType.h"
#include "platform/oleauto.h"

namespace platform::internal {

bool IsValidVariantType(VARTYPE vt) {
  if (vt & (VT_RESERVED | 0x1000)) return false;  // 0x1000 is the vector bit
  const VARTYPE base = BaseType(vt);
  // Records need a record-information object, which this platform lacks.
  if (base >= VT_VOID || base == 15) return false;
  if ((IsArray(vt) || IsByRef(vt)) && base <= VT_NULL) return false;
  return true;
}

bool CopyBstr(BSTR source, BSTR* copy) {
  if (!source) {
    *copy = nullptr;
    return true;
  }
  *copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source), SysStringByteLen(source));
  return *copy != nullptr;
}

}  // namespace platform::internal

namespace {

using platform::internal::BaseType;
using platform::internal::IsArray;
using platform::internal::IsByRef;
using platform::internal::IsValidVariantType;

// Copies what a by-value variant owns (string, array, object reference) into
// dest, which receives the same type. dest is overwritten, not cleared.
HRESULT CopyOwnedValue(VARIANT* dest, const VARIANT& src) {
  VARIANT copy = src;
  if (IsArray(src.vt)) {
    copy.parray = nullptr;
    if (src.parray) {
      HRESULT hr = SafeArrayCopy(src.parray, &copy.parray);
      if (FAILED(hr)) return hr;
    }
  } else if (src.vt == VT_BSTR) {
    if (!platform::internal::CopyBstr(src.bstrVal, &copy.bstrVal)) return E_OUTOFMEMORY;
  } else if ((src.vt == VT_DISPATCH || src.vt == VT_UNKNOWN) && src.punkVal) {
    src.punkVal->AddRef();
  }
  *dest = copy;
  return S_OK;
}

// The by-value form of a by-reference variant, sharing what the reference
// points to (nothing is copied or counted yet). VT_VARIANT references are
// handled by the caller.
HRESULT ReadThroughReference(const VARIANT& src, VARIANT* value) {
  if (!src.byref) return E_INVALIDARG;
  VARIANT out;
  VariantInit(&out);
  const VARTYPE vt = src.vt & ~VT_BYREF;
  if (IsArray(vt)) {
    out.parray = *src.pparray;
    out.vt = vt;
    *value = out;
    return S_OK;
  }
  size_t size = 0;
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      size = 1;
      break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      size = 2;
      break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      size = 4;
      break;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      size = 8;
      break;
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
      size = sizeof(void*);
      break;
    case VT_DECIMAL:
      // A decimal fills the whole variant, its first word included.
      std::memcpy(&out, src.byref, sizeof(VARIANT));
      out.vt = VT_DECIMAL;
      *value = out;
      return S_OK;
  }
  if (size == 0) return DISP_E_BADVARTYPE;
  std::memcpy(&out.llVal, src.byref, size);
  out.vt = vt;
  *value = out;
  return S_OK;
}

// Replaces *dest with value, which the caller hands over.
HRESULT Install(VARIANT* dest, VARIANT& value) {
  HRESULT hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&value);
    return hr;
  }
  *dest = value;
  return S_OK;
}

}  // namespace

void VariantInit(VARIANTARG* v) {
  if (!v) return;
  v->vt = VT_EMPTY;
  v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
}

HRESULT VariantClear(VARIANTARG* v) {
  if (!v) return E_INVALIDARG;
  // VT_RESERVED marks a typed operand for VarCmp; the value is its base type.
  v->vt &= ~VT_RESERVED;
  // Empty, Null and the numbers up to dates own nothing.
  if (v->vt <= VT_DATE) {
    v->vt = VT_EMPTY;
    return S_OK;
  }
  if (!IsValidVariantType(v->vt)) return DISP_E_BADVARTYPE;
  if (!IsByRef(v->vt)) {
    if (IsArray(v->vt)) {
      HRESULT hr = SafeArrayDestroy(v->parray);
      if (FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
      v->punkVal->Release();
    }
  }
  v->vt = VT_EMPTY;
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  // A VT_RESERVED mark (a typed operand, for VarCmp) travels with the copy.
  const VARTYPE mark = src->vt & VT_RESERVED;
  VARIANT plain = *src;
  plain.vt &= ~VT_RESERVED;
  if (!IsValidVariantType(plain.vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  HRESULT hr = IsByRef(plain.vt) ? (copy = plain, S_OK) : CopyOwnedValue(&copy, plain);
  if (FAILED(hr)) return hr;
  hr = Install(dest, copy);
  if (SUCCEEDED(hr)) dest->vt |= mark;
  return hr;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (!IsValidVariantType(src->vt)) return DISP_E_BADVARTYPE;
  if (!IsByRef(src->vt)) return VariantCopy(dest, src);
  if (!src->byref) return E_INVALIDARG;

  VARIANT shallow;
  if (src->vt == (VT_VARIANT | VT_BYREF)) {
    // One more level is followed when the referenced variant is itself a
    // reference, but never a reference to a reference to a variant.
    const VARIANT& inner = *src->pvarVal;
    if (!IsValidVariantType(inner.vt)) return DISP_E_BADVARTYPE;
    if (inner.vt == (VT_VARIANT | VT_BYREF)) return E_INVALIDARG;
    if (IsByRef(inner.vt)) {
      HRESULT hr = ReadThroughReference(inner, &shallow);
      if (FAILED(hr)) return hr;
    } else {
      shallow = inner;
    }
  } else {
    HRESULT hr = ReadThroughReference(*src, &shallow);
    if (FAILED(hr)) return hr;
  }
  VARIANT copy;
  HRESULT hr = CopyOwnedValue(&copy, shallow);
  if (FAILED(hr)) return hr;
  return Install(dest, copy);
}

#include "runtime/core/ErrorInfoShim.h"

namespace rt {
namespace {

// A fresh copy of a field; a null field gives a null string and status 0.
HRESULT copyOut(const Bstr& field, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!field.get()) return S_OK;
  *out = SysAllocStringLen(field.get(), field.length());
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT ErrorInfoShim::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
    *ppv = static_cast<IErrorInfo*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT ErrorInfoShim::GetGUID(GUID* guid) {
  if (!guid) return E_INVALIDARG;
  *guid = GUID_NULL;
  return S_OK;
}

HRESULT ErrorInfoShim::GetSource(BSTR* source) {
  return copyOut(error_.source, source);
}

HRESULT ErrorInfoShim::GetDescription(BSTR* description) {
  return copyOut(error_.description, description);
}

HRESULT ErrorInfoShim::GetHelpFile(BSTR* helpFile) {
  return copyOut(error_.helpFile, helpFile);
}

HRESULT ErrorInfoShim::GetHelpContext(DWORD* helpContext) {
  if (!helpContext) return E_INVALIDARG;
  *helpContext = static_cast<DWORD>(error_.helpContext);
  return S_OK;
}

}  // namespace rt

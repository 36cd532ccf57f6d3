// The process-wide table of registered class factories behind CoCreateInstance.
#include <mutex>
#include <vector>

#include "platform/com.h"

namespace {

struct Registration {
  CLSID clsid;
  ComPtr<IUnknown> factory;
  DWORD cookie;
};

struct ClassTable {
  std::mutex mutex;
  std::vector<Registration> entries;
  DWORD nextCookie = 1;
};

ClassTable& classTable() {
  static ClassTable table;
  return table;
}

}  // namespace

HRESULT CoInitialize(LPVOID) {
  return S_OK;
}
void CoUninitialize() {}
HRESULT OleInitialize(LPVOID) {
  return S_OK;
}
void OleUninitialize() {}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD, DWORD, DWORD* cookie) {
  if (!factory || !cookie) return E_INVALIDARG;
  ClassTable& table = classTable();
  std::lock_guard lock(table.mutex);
  std::erase_if(table.entries, [&](const Registration& r) { return r.clsid == clsid; });
  *cookie = table.nextCookie++;
  table.entries.push_back({clsid, ComPtr<IUnknown>(factory), *cookie});
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
  ComPtr<IUnknown> released;  // released outside the lock
  ClassTable& table = classTable();
  std::lock_guard lock(table.mutex);
  for (auto it = table.entries.begin(); it != table.entries.end(); ++it) {
    if (it->cookie == cookie) {
      released = std::move(it->factory);
      table.entries.erase(it);
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD, LPVOID, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  ComPtr<IUnknown> factory;
  {
    ClassTable& table = classTable();
    std::lock_guard lock(table.mutex);
    for (const Registration& r : table.entries) {
      if (r.clsid == clsid) factory = r.factory;
    }
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  return factory->QueryInterface(riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  ComPtr<IClassFactory> factory;
  HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(outer, riid, ppv);
}

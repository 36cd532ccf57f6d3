#include "runtime/forms/design/ClassRegistry.h"

#include "platform/com.h"
#include "runtime/forms/design/internal/DesignMessages.h"

namespace rt {
namespace {

thread_local const ClassRegistryEntry* t_table = nullptr;

}  // namespace

std::u16string ClassIdText(REFCLSID clsid) {
  OLECHAR text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return std::u16string(text);
}

const ClassRegistryEntry* ClassRegistry::find(REFCLSID clsid) const {
  if (!table_) return nullptr;
  for (const ClassRegistryEntry* entry = table_; entry->create; ++entry) {
    if (entry->clsid == clsid) return entry;
  }
  return nullptr;
}

HRESULT ClassRegistry::createForDesign(REFCLSID clsid, IUnknown** out) const {
  *out = nullptr;
  if (const ClassRegistryEntry* entry = find(clsid)) {
    const HRESULT status = entry->create(out);
    if (FAILED(status)) return status;
    if (*out) return S_OK;
  }
  design::ShowDesignMessage(
      u"Kestrelon Internal error 9508: missing class deserializer for CLSID " + ClassIdText(clsid),
      u"");
  return E_FAIL;
}

HRESULT ClassRegistry::createInstance(REFCLSID clsid, IUnknown** out) const {
  *out = nullptr;
  std::u16string_view message = u"Error 9806: Failed to create class instance";
  if (const ClassRegistryEntry* entry = find(clsid)) {
    const HRESULT status = entry->create(out);
    if (SUCCEEDED(status) && *out) return S_OK;
    if (FAILED(status)) message = u"Error 9805: Failed to create class instance";
  }
  if (*out) (*out)->Release();
  *out = nullptr;
  design::ShowDesignMessage(message, design::kInternalErrorCaption);
  design::WaitAfterFailure();
  return E_FAIL;
}

void SetClassTable(const ClassRegistryEntry* table) {
  t_table = table;
}

ClassRegistry CurrentClassRegistry() {
  return ClassRegistry(t_table);
}

ScopedClassTable::ScopedClassTable(const ClassRegistryEntry* table) : previous_(t_table) {
  t_table = table;
}

ScopedClassTable::~ScopedClassTable() {
  t_table = previous_;
}

}  // namespace rt

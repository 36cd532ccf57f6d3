// Class identifier to creator: how the design reader and the controls
// collection make objects.
//
// The registry is a table of entries {creator, class identifier, 12 further
// bytes} ended by an entry whose creator is null, searched in table order.
// runtime_controls supplies the table of the form and the intrinsic controls;
// tests install their own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/com.h"

namespace rt {

// Makes a new object with one reference in *out; returns a status.
using ClassCreator = HRESULT (*)(IUnknown** out);

struct ClassRegistryEntry {
  ClassCreator create;
  CLSID clsid;
  uint8_t reserved[12];
};

class ClassRegistry {
 public:
  // table: ended by an entry whose creator is null; kept by the caller.
  explicit ClassRegistry(const ClassRegistryEntry* table) : table_(table) {}

  // The first entry for clsid, or null.
  const ClassRegistryEntry* find(REFCLSID clsid) const;

  // For design reading: no entry or no object shows "Kestrelon Internal
  // error 9508: missing class deserializer for CLSID {...}" (empty caption)
  // and fails with E_FAIL; a failing creator fails with its own status.
  HRESULT createForDesign(REFCLSID clsid, IUnknown** out) const;

  // For objects that are not controls of a design: a failing creator shows
  // "Error 9805: ...", no entry or no object "Error 9806: ...", both under
  // "Kestrelon Internal Error", then waits one second and fails with E_FAIL.
  HRESULT createInstance(REFCLSID clsid, IUnknown** out) const;

 private:
  const ClassRegistryEntry* table_;
};

// The table in force for the thread's engine (null table: every lookup misses).
void SetClassTable(const ClassRegistryEntry* table);
ClassRegistry CurrentClassRegistry();

// Scoped replacement of the class table (tests).
class ScopedClassTable {
 public:
  explicit ScopedClassTable(const ClassRegistryEntry* table);
  ~ScopedClassTable();
  ScopedClassTable(const ScopedClassTable&) = delete;
  ScopedClassTable& operator=(const ScopedClassTable&) = delete;

 private:
  const ClassRegistryEntry* previous_;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::u16string ClassIdText(REFCLSID clsid);

}  // namespace rt

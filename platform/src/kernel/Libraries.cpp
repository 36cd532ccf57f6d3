// LoadLibraryW, GetProcAddress and FreeLibrary over the platform's own
// libraries.
#include <cstdint>
#include <string>

#include "internal/ExecutableModule.h"
#include "internal/LibraryRegistry.h"
#include "platform/kernel.h"
#include "platform/libraries.h"
#include "platform/testing.h"

using platform::internal::LibraryRegistry;

namespace {

// GetProcAddress takes an ordinal in place of a name when the pointer's value
// fits in 16 bits.
bool isOrdinal(LPCSTR procName) {
  return reinterpret_cast<uintptr_t>(procName) <= 0xFFFF;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HMODULE module = LibraryRegistry::instance().acquire(fileName);
  if (!module) SetLastError(ERROR_MOD_NOT_FOUND);
  return module;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::u16string wide;
  for (const char* c = fileName; *c; ++c)
    wide.push_back(static_cast<unsigned char>(*c));
  return LoadLibraryW(wide.c_str());
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  LibraryRegistry& registry = LibraryRegistry::instance();
  if (module && module != platform::internal::ExecutableInstance() && !registry.contains(module)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // The executable exports nothing, and no library exports by ordinal.
  const ExportedProc* proc = isOrdinal(procName) ? nullptr : registry.findExport(module, procName);
  if (!proc) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return proc->entry;
}

BOOL FreeLibrary(HMODULE module) {
  if (module && module == platform::internal::ExecutableInstance()) return TRUE;
  if (!LibraryRegistry::instance().release(module)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

namespace platform {

const ExportedProc* FindExport(HMODULE module, const char* name) {
  if (!name) return nullptr;
  return LibraryRegistry::instance().findExport(module, name);
}

void RegisterExports(std::string_view library, std::span<const ExportedProc> exports) {
  LibraryRegistry::instance().add(library, exports);
}

void RegisterExports(std::string_view library, std::initializer_list<ExportedProc> exports) {
  RegisterExports(library, std::span<const ExportedProc>(exports.begin(), exports.size()));
}

int LibraryReferenceCount(HMODULE module) {
  return LibraryRegistry::instance().references(module);
}

}  // namespace platform

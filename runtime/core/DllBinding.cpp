#include "runtime/core/DllBinding.h"

#include <cstdint>

#include "platform/libraries.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {
namespace {

FARPROC bindingFailed(const char16_t* description) {
  ThreadErrorContext& thread = CurrentErrorContext();
  thread.dllBindingFailed = 1;
  FillErrorObject(thread.error, StatusErrorAlreadySet, nullptr, Bstr(description).release(),
                  nullptr, 0, 0, true);
  return nullptr;
}

LPCSTR lookupName(const DllBinding& binding) {
  if (binding.ordinal == DllBinding::kByName) return binding.entryPointName;
  return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(binding.ordinal & 0xFFFF));
}

}  // namespace

INT_PTR DllStub() {
  return 0;
}

FARPROC BindDll(DllBinding& binding) {
  binding.module = LoadLibraryW(binding.libraryName);
  if (!binding.module) return bindingFailed(u"Unable to load DLL");
  FARPROC entry = GetProcAddress(binding.module, lookupName(binding));
  if (!entry) {
    FreeLibrary(binding.module);
    binding.module = nullptr;
    return bindingFailed(u"Unable to find DLL entry point");
  }
  const ExportedProc* exported = binding.ordinal == DllBinding::kByName
                                     ? platform::FindExport(binding.module, binding.entryPointName)
                                     : nullptr;
  binding.removedArgumentBytes = exported ? exported->argumentBytes : -1;
  binding.entry = entry;
  return entry;
}

}  // namespace rt

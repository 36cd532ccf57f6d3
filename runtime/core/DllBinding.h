// The binding record of a declared DLL procedure and its binder.
//
// A declaration names a library and an entry point. Its record starts unbound,
// with the stub as its entry; the first call that reaches the stub loads the
// library, looks the entry point up and stores it, and from then on calls go
// straight to the function. A failed binding leaves the record unbound, so
// the next call tries again.
#pragma once

#include "platform/kernel.h"

namespace rt {

// The entry of every unbound record. Calls that find it go to the binder
// instead; by itself it does nothing and gives 0.
INT_PTR DllStub();

struct DllBinding {
  // The ordinal word's value for a lookup by name.
  static constexpr DWORD kByName = 0xFFFF;

  // Null until the library is loaded.
  HMODULE module = nullptr;
  // The stub until bound, then the function.
  FARPROC entry = &DllStub;
  // kByName, or an ordinal in the low 16 bits.
  DWORD ordinal = kByName;
  DWORD reserved = 0;
  // The exact export name, for example "GetTickCount".
  const char* entryPointName = nullptr;
  // Passed to LoadLibraryW unchanged, for example "kernel32" or "user32.dll".
  const char16_t* libraryName = nullptr;
  // The argument bytes the bound function takes off the stack, from its
  // export record; -1 when unknown.
  int removedArgumentBytes = -1;

  bool bound() const { return entry != &DllStub; }
};

// Loads the record's library and looks its entry point up. On success the
// record is bound and the entry returned. On failure the thread's
// DLL-binding-failed flag is set, the error object holds number -353703418
// with "Unable to load DLL" or "Unable to find DLL entry point" (the library
// reference taken for the attempt released again), and null is returned.
FARPROC BindDll(DllBinding& binding);

}  // namespace rt

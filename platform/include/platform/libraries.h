// The exports of this platform's libraries, for LoadLibraryW and
// GetProcAddress.
//
// Each area of the platform registers the functions its library exports, with
// the number of argument bytes each takes in the 32-bit standard calling
// convention (4 per argument word), so that a binder of declared procedures
// can tell a declaration whose argument list is longer or shorter than the
// function's. Areas register with RegisterExports (from their own start-up
// code) or with a static ExportRegistrar. A static registrar runs only when
// its object file is linked: keep it in a file the area's other code already
// needs.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/types.h"

struct ExportedProc {
  const char* name;  // exact, case-sensitive export name; a string with static lifetime
  FARPROC entry;
  int argumentBytes;
};

namespace platform {

namespace detail {

// Stack bytes of one argument in the 32-bit standard calling convention.
// Pointer-sized integers (WPARAM, LPARAM, LONG_PTR) take one word there; on
// this LP64 system they are the same types as the 64-bit integers, so a
// function with a real 64-bit integer argument gives its count explicitly.
template <typename T>
constexpr int StackBytesOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_reference_v<T> || std::is_pointer_v<U> || std::is_member_pointer_v<U> ||
                std::is_null_pointer_v<U>) {
    return 4;
  } else if constexpr (std::is_floating_point_v<U>) {
    return sizeof(U) <= 4 ? 4 : 8;
  } else if constexpr (std::is_integral_v<U> || std::is_enum_v<U>) {
    return 4;
  } else {
    return static_cast<int>((sizeof(U) + 3) / 4 * 4);  // a structure passed by value
  }
}

// A function's entry point as FARPROC. The detour through void (*)() is the
// compilers' accepted spelling of a cast between unrelated function types.
template <typename R, typename... Args>
FARPROC EntryOf(R (*entry)(Args...)) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace detail

template <typename R, typename... Args>
constexpr int ArgumentBytesOf(R (*)(Args...)) {
  return (0 + ... + detail::StackBytesOf<Args>());
}

// An export record whose argument bytes follow from the function's type.
template <typename R, typename... Args>
ExportedProc Export(const char* name, R (*entry)(Args...)) {
  return {name, detail::EntryOf(entry), ArgumentBytesOf(entry)};
}

// An export record with an explicit argument byte count.
template <typename R, typename... Args>
ExportedProc Export(const char* name, R (*entry)(Args...), int argumentBytes) {
  return {name, detail::EntryOf(entry), argumentBytes};
}

// Adds exports to a library of this platform, creating the library when its
// name is new. The library name follows LoadLibraryW's rule ("user32" is
// "user32.dll"; case does not matter). A name registered again replaces the
// earlier record.
void RegisterExports(std::string_view library, std::span<const ExportedProc> exports);
void RegisterExports(std::string_view library, std::initializer_list<ExportedProc> exports);

// Registers exports during static initialisation.
class ExportRegistrar {
 public:
  ExportRegistrar(std::string_view library, std::initializer_list<ExportedProc> exports) {
    RegisterExports(library, exports);
  }
};

// The export record of a library's function, or null when the handle is not
// one of this platform's libraries or the library has no export of that name.
// The record stays valid for the life of the process.
const ExportedProc* FindExport(HMODULE module, const char* name);

}  // namespace platform

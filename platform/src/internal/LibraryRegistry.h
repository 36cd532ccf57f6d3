// The platform's libraries, their exports and their reference counts.
//
// Every library is part of the executable and so always present:
// GetModuleHandleW and GetProcAddress work whether or not LoadLibraryW took a
// reference. The reference counts only record LoadLibraryW and FreeLibrary, so
// that a leaked reference shows.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "platform/libraries.h"
#include "platform/types.h"

namespace platform::internal {

class LibraryRegistry {
 public:
  static LibraryRegistry& instance();

  // The file name a library name designates: the part after the last
  // separator in lower case, ".dll" added when it has no extension and a
  // trailing period (meaning "no extension") dropped. Empty when the name
  // cannot be one of ours.
  static std::string canonicalName(std::u16string_view name);

  // The library of that name, without taking a reference; null when none.
  HMODULE find(std::u16string_view name) const;
  // The library of that name with one more reference; null when none.
  HMODULE acquire(std::u16string_view name);
  // Drops a reference; false when the handle is no library or has none left.
  bool release(HMODULE module);

  bool contains(HMODULE module) const;
  int references(HMODULE module) const;  // -1 for a handle that is no library
  const ExportedProc* findExport(HMODULE module, std::string_view name) const;

  void add(std::string_view library, std::span<const ExportedProc> exports);

 private:
  struct Library {
    std::string fileName;
    int references = 0;
    std::map<std::string, ExportedProc, std::less<>> exports;
  };

  LibraryRegistry();
  Library* libraryOf(HMODULE module) const;
  Library& libraryNamed(const std::string& fileName);

  mutable std::mutex mutex_;
  std::map<std::string, std::unique_ptr<Library>, std::less<>> libraries_;
};

// Registers the exports kept in this folder (kernel32, and user32's message
// boxes). Called once while the registry is built.
void AddBuiltInExports(LibraryRegistry& registry);

}  // namespace platform::internal

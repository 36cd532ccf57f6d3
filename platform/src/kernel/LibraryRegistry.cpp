#include "internal/LibraryRegistry.h"

#include <initializer_list>

namespace platform::internal {

LibraryRegistry& LibraryRegistry::instance() {
  static LibraryRegistry registry;
  return registry;
}

LibraryRegistry::LibraryRegistry() {
  for (const char* name : {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll",
                           "winspool.drv", "msimg32.dll", "shlwapi.dll", "hhctrl.ocx"}) {
    libraryNamed(name);
  }
  AddBuiltInExports(*this);
}

std::string LibraryRegistry::canonicalName(std::u16string_view name) {
  size_t separator = name.find_last_of(u"\\/");
  if (separator != std::u16string_view::npos) name.remove_prefix(separator + 1);
  std::string fileName;
  for (char16_t c : name) {
    if (c == 0 || c > 0x7F) return {};  // every library of ours has a plain ASCII name
    fileName.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c));
  }
  if (fileName.empty()) return {};
  if (fileName.back() == '.') {
    fileName.pop_back();
  } else if (fileName.find('.') == std::string::npos) {
    fileName += ".dll";
  }
  return fileName;
}

LibraryRegistry::Library* LibraryRegistry::libraryOf(HMODULE module) const {
  for (const auto& [name, library] : libraries_) {
    if (reinterpret_cast<HMODULE>(library.get()) == module) return library.get();
  }
  return nullptr;
}

LibraryRegistry::Library& LibraryRegistry::libraryNamed(const std::string& fileName) {
  std::unique_ptr<Library>& library = libraries_[fileName];
  if (!library) {
    library = std::make_unique<Library>();
    library->fileName = fileName;
  }
  return *library;
}

HMODULE LibraryRegistry::find(std::u16string_view name) const {
  std::string fileName = canonicalName(name);
  std::lock_guard lock(mutex_);
  auto found = libraries_.find(fileName);
  return found == libraries_.end() ? nullptr : reinterpret_cast<HMODULE>(found->second.get());
}

HMODULE LibraryRegistry::acquire(std::u16string_view name) {
  std::string fileName = canonicalName(name);
  std::lock_guard lock(mutex_);
  auto found = libraries_.find(fileName);
  if (found == libraries_.end()) return nullptr;
  ++found->second->references;
  return reinterpret_cast<HMODULE>(found->second.get());
}

bool LibraryRegistry::release(HMODULE module) {
  std::lock_guard lock(mutex_);
  Library* library = libraryOf(module);
  if (!library || library->references == 0) return false;
  --library->references;
  return true;
}

bool LibraryRegistry::contains(HMODULE module) const {
  std::lock_guard lock(mutex_);
  return libraryOf(module) != nullptr;
}

int LibraryRegistry::references(HMODULE module) const {
  std::lock_guard lock(mutex_);
  Library* library = libraryOf(module);
  return library ? library->references : -1;
}

const ExportedProc* LibraryRegistry::findExport(HMODULE module, std::string_view name) const {
  std::lock_guard lock(mutex_);
  Library* library = libraryOf(module);
  if (!library) return nullptr;
  auto found = library->exports.find(name);
  return found == library->exports.end() ? nullptr : &found->second;
}

void LibraryRegistry::add(std::string_view library, std::span<const ExportedProc> exports) {
  std::string fileName = canonicalName(std::u16string(library.begin(), library.end()));
  if (fileName.empty()) return;
  std::lock_guard lock(mutex_);
  Library& target = libraryNamed(fileName);
  for (const ExportedProc& proc : exports) {
    if (proc.name) target.exports.insert_or_assign(proc.name, proc);
  }
}

}  // namespace platform::internal

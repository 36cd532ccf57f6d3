// The executable as a module: GetModuleFileNameW and GetModuleHandleW.
#include <unistd.h>

#include <climits>
#include <mutex>
#include <string>

#include "internal/ExecutableModule.h"
#include "internal/LibraryRegistry.h"
#include "internal/PathNames.h"
#include "platform/kernel.h"
#include "platform/testing.h"

namespace platform::internal {
namespace {

// Stands for the executable's image; its address is the instance handle.
alignas(16) const char g_executableImage[16] = {};

struct ModuleFileName {
  std::mutex mutex;
  std::u16string override;
};

ModuleFileName& moduleFileName() {
  static ModuleFileName name;
  return name;
}

std::u16string realExecutablePath() {
  char target[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", target, sizeof target);
  if (length <= 0) return u"Z:\\";
  return Win32PathOfPosix(std::string_view(target, static_cast<size_t>(length)));
}

// The part of a path after its last separator.
std::u16string_view fileNameOf(std::u16string_view path) {
  size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

HINSTANCE ExecutableInstance() {
  return reinterpret_cast<HINSTANCE>(const_cast<char*>(g_executableImage));
}

std::u16string ExecutablePath() {
  {
    ModuleFileName& name = moduleFileName();
    std::lock_guard lock(name.mutex);
    if (!name.override.empty()) return name.override;
  }
  static const std::u16string realPath = realExecutablePath();
  return realPath;
}

}  // namespace platform::internal

namespace platform {

void SetModuleFileNameOverride(std::u16string_view path) {
  internal::ModuleFileName& name = internal::moduleFileName();
  std::lock_guard lock(name.mutex);
  name.override = path;
}

}  // namespace platform

// Libraries are built into the executable, so their file name is its name.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  using platform::internal::LibraryRegistry;
  if (module && module != platform::internal::ExecutableInstance() &&
      !LibraryRegistry::instance().contains(module)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!fileName && size > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string path = platform::internal::ExecutablePath();
  if (path.size() < size) {
    path.copy(fileName, path.size());
    fileName[path.size()] = u'\0';
    return static_cast<DWORD>(path.size());
  }
  // Too small: as much as fits, still terminated, and the buffer's size.
  if (size > 0) {
    path.copy(fileName, size - 1);
    fileName[size - 1] = u'\0';
  }
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return platform::internal::ExecutableInstance();
  std::u16string executable = platform::internal::ExecutablePath();
  if (platform::internal::equalsNoCase(moduleName, platform::internal::fileNameOf(executable))) {
    return platform::internal::ExecutableInstance();
  }
  HMODULE module = platform::internal::LibraryRegistry::instance().find(moduleName);
  if (!module) SetLastError(ERROR_MOD_NOT_FOUND);
  return module;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (!moduleName) return GetModuleHandleW(nullptr);
  std::u16string wide;
  for (const char* c = moduleName; *c; ++c)
    wide.push_back(static_cast<unsigned char>(*c));
  return GetModuleHandleW(wide.c_str());
}

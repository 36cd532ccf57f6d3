// The current directory and full path names.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <string>

#include "internal/PathNames.h"
#include "platform/kernel.h"
#include "platform/testing.h"

namespace platform::internal {
namespace {

struct CurrentDirectoryState {
  std::mutex mutex;
  std::u16string path;
};

std::u16string processWorkingDirectory() {
  char path[PATH_MAX];
  if (!::getcwd(path, sizeof path)) return u"Z:\\";
  return Win32PathOfPosix(path);
}

CurrentDirectoryState& currentDirectoryState() {
  static CurrentDirectoryState state{{}, processWorkingDirectory()};
  return state;
}

// A folder's path without the separator after it, except at a root (C:\).
std::u16string withoutTrailingSeparator(std::u16string path) {
  bool isRoot =
      path.size() <= 3 || path[path.size() - 2] == u':' || path == u"\\\\?\\" || path == u"\\\\.\\";
  if (!isRoot && path.back() == u'\\') path.pop_back();
  return path;
}

// The text-returning convention of the path functions: the length copied
// without the terminator, or the size needed with it when it does not fit.
DWORD copyIfFits(const std::u16string& text, LPWSTR buffer, DWORD bufferLength) {
  if (!buffer || bufferLength <= text.size()) return static_cast<DWORD>(text.size() + 1);
  text.copy(buffer, text.size());
  buffer[text.size()] = u'\0';
  return static_cast<DWORD>(text.size());
}

}  // namespace

std::u16string CurrentDirectory() {
  CurrentDirectoryState& state = currentDirectoryState();
  std::lock_guard lock(state.mutex);
  return state.path;
}

}  // namespace platform::internal

namespace platform {

std::u16string CurrentDirectoryText() {
  return internal::CurrentDirectory();
}

void SetCurrentDirectoryText(std::u16string_view fullPath) {
  DWORD error = ERROR_SUCCESS;
  auto full = internal::FullPathOf(fullPath, internal::CurrentDirectory(), &error);
  if (!full) return;
  internal::CurrentDirectoryState& state = internal::currentDirectoryState();
  std::lock_guard lock(state.mutex);
  state.path = internal::withoutTrailingSeparator(std::move(*full));
}

}  // namespace platform

DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD error = ERROR_SUCCESS;
  auto full =
      platform::internal::FullPathOf(fileName, platform::internal::CurrentDirectory(), &error);
  if (!full) {
    SetLastError(error);
    return 0;
  }
  DWORD result = platform::internal::copyIfFits(*full, buffer, bufferLength);
  if (result < full->size() + 1 && filePart) {
    // The file part starts after the last separator; a folder path ending in
    // one has none.
    size_t separator = full->rfind(u'\\');
    bool hasFilePart = separator != std::u16string::npos && separator + 1 < full->size();
    *filePart = hasFilePart ? buffer + separator + 1 : nullptr;
  }
  return result;
}

DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer) {
  return platform::internal::copyIfFits(platform::internal::CurrentDirectory(), buffer,
                                        bufferLength);
}

BOOL SetCurrentDirectoryW(LPCWSTR pathName) {
  if (!pathName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  platform::internal::PosixPath posix = platform::internal::PosixPathOf(pathName);
  if (posix.error) {
    SetLastError(posix.error);
    return FALSE;
  }
  struct stat info {};
  if (::stat(posix.path.c_str(), &info) != 0) {
    SetLastError(errno == ENOENT ? platform::internal::MissingPathError(posix.path)
                                 : platform::Win32ErrorFromErrno(errno));
    return FALSE;
  }
  if (!S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  platform::SetCurrentDirectoryText(pathName);
  return TRUE;
}

// Path names: the platform's full-path folding and the mapping between its
// paths and POSIX ones. The POSIX tree is drive Z: (Z:\home\me is /home/me);
// other drives and network shares exist in the name space only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform::internal {

// The full path of `path` against the full path `currentDirectory`, computed
// textually as GetFullPathNameW does: both separators accepted, runs of them
// collapsed, "." and ".." folded, a trailing period of a component and
// trailing periods and spaces of the last one trimmed. Paths with a device
// prefix (\\?\ or \\.\ ) keep it as their root and are only folded. Sets *error
// and gives nothing for a path that has no full form.
std::optional<std::u16string> FullPathOf(std::u16string_view path,
                                         std::u16string_view currentDirectory, DWORD* error);

struct PosixPath {
  std::string path;  // empty when error is set
  DWORD error = 0;
};

// The POSIX path a file function's path names, resolved against the current
// directory; or the last error of a path that names nothing on this system
// (another drive, a network share, a bad character, a path of MAX_PATH or
// more characters without the long-path prefix \\?\ ).
PosixPath PosixPathOf(LPCWSTR path);

// The platform's path of an absolute POSIX path, on drive Z:.
std::u16string Win32PathOfPosix(std::string_view posixPath);

// The error of a path that does not exist: ERROR_FILE_NOT_FOUND when its
// folder exists, ERROR_PATH_NOT_FOUND when the folder is missing too.
DWORD MissingPathError(const std::string& posixPath);

// The process's current directory as a full path (see Paths.cpp).
std::u16string CurrentDirectory();

}  // namespace platform::internal

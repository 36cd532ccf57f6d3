// GetFullPathNameW into a growing buffer.
#pragma once

#include <optional>
#include <string>

#include "platform/types.h"

namespace rt::internal {

struct FullPathName {
  std::u16string path;
  // Index of the file-name part in path; npos when the path names a folder.
  size_t filePart = std::u16string::npos;
};

// Nothing when GetFullPathNameW fails.
std::optional<FullPathName> ResolveFullPathName(const std::u16string& name);

}  // namespace rt::internal

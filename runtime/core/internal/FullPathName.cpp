#include "runtime/core/internal/FullPathName.h"

#include "platform/kernel.h"

namespace rt::internal {

std::optional<FullPathName> ResolveFullPathName(const std::u16string& name) {
  std::u16string buffer(MAX_PATH, u'\0');
  for (;;) {
    LPWSTR filePart = nullptr;
    const DWORD length =
        GetFullPathNameW(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
    if (length == 0) return std::nullopt;
    // Too small: the length says how much is needed, terminator included.
    if (length >= buffer.size()) {
      buffer.assign(length, u'\0');
      continue;
    }
    FullPathName full;
    full.filePart = filePart ? static_cast<size_t>(filePart - buffer.data()) : std::u16string::npos;
    buffer.resize(length);
    full.path = std::move(buffer);
    return full;
  }
}

}  // namespace rt::internal

#include "runtime/core/AppPath.h"

#include <optional>
#include <string>

#include "platform/kernel.h"
#include "runtime/core/internal/FullPathName.h"

namespace rt {
namespace {

// GetModuleFileNameW cuts a name that does not fit and then fills the buffer
// exactly; the buffer doubles until the name fits.
std::optional<std::u16string> executableName() {
  std::u16string buffer(MAX_PATH, u'\0');
  HMODULE instance = GetModuleHandleW(nullptr);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(instance, buffer.data(), size);
    if (length == 0) return std::nullopt;
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(buffer.size() * 2, u'\0');
  }
}

}  // namespace

HRESULT AppPath(BSTR* path) {
  auto name = executableName();
  if (!name) return E_FAIL;
  auto full = internal::ResolveFullPathName(*name);
  if (!full || full->filePart == std::u16string::npos) return E_FAIL;
  // Past a drive root ("C:\" is three characters) the separator goes too.
  const size_t cut = full->filePart > 3 ? full->filePart - 1 : full->filePart;
  *path = SysAllocStringLen(full->path.data(), static_cast<UINT>(cut));
  return *path ? S_OK : E_OUTOFMEMORY;
}

}  // namespace rt

#include "runtime/core/FileHandle.h"

namespace rt {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
  }
  return *this;
}

bool FileHandle::close() {
  if (!valid()) return true;
  return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
}

}  // namespace rt

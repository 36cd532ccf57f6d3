// Owns one kernel file handle; INVALID_HANDLE_VALUE (-1) when it holds none.
#pragma once

#include <utility>

#include "platform/kernel.h"

namespace rt {

class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { close(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  // Closes the handle (CloseHandle) and leaves this empty; false when the
  // system refused, true also when there was nothing to close.
  bool close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace rt

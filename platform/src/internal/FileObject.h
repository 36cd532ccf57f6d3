// An open file: the object behind a file handle.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "internal/KernelObject.h"
#include "internal/UniqueFd.h"
#include "platform/types.h"

namespace platform::internal {

class FileObject final : public KernelObject {
 public:
  FileObject(UniqueFd fd, bool canRead, bool canWrite);

  // Each returns a last-error code, ERROR_SUCCESS when the call succeeded.
  // An offset (from an OVERLAPPED) moves the file pointer there first.
  DWORD read(void* buffer, DWORD count, std::optional<int64_t> offset, DWORD* done);
  DWORD write(const void* buffer, DWORD count, std::optional<int64_t> offset, DWORD* done);
  // Moves the file pointer; a target beyond maxPosition fails with
  // ERROR_INVALID_PARAMETER and leaves the pointer where it was.
  DWORD seek(int64_t distance, DWORD method, int64_t maxPosition, int64_t* position);
  DWORD size(int64_t* bytes) const;
  DWORD setEnd();
  DWORD flush();

 private:
  DWORD moveTo(int64_t offset);

  std::mutex mutex_;  // keeps a move of the file pointer and its transfer together
  UniqueFd fd_;
  bool canRead_;
  bool canWrite_;
  bool isRegular_;
};

// How many of `wanted` bytes the simulated disk still takes (all of them when
// no simulation is on); `unused` hands back bytes reserved but not written.
uint64_t ReserveDiskSpace(uint64_t wanted);
void ReturnDiskSpace(uint64_t unused);

}  // namespace platform::internal

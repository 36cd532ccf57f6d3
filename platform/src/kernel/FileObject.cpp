#include "internal/FileObject.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel.h"
#include "platform/testing.h"

namespace platform::internal {
namespace {

struct SimulatedDisk {
  std::mutex mutex;
  std::optional<uint64_t> freeBytes;  // no value: no simulation
};

SimulatedDisk& simulatedDisk() {
  static SimulatedDisk disk;
  return disk;
}

}  // namespace

uint64_t ReserveDiskSpace(uint64_t wanted) {
  SimulatedDisk& disk = simulatedDisk();
  std::lock_guard lock(disk.mutex);
  if (!disk.freeBytes) return wanted;
  uint64_t granted = wanted < *disk.freeBytes ? wanted : *disk.freeBytes;
  *disk.freeBytes -= granted;
  return granted;
}

void ReturnDiskSpace(uint64_t unused) {
  SimulatedDisk& disk = simulatedDisk();
  std::lock_guard lock(disk.mutex);
  if (disk.freeBytes) *disk.freeBytes += unused;
}

FileObject::FileObject(UniqueFd fd, bool canRead, bool canWrite)
    : fd_(std::move(fd)), canRead_(canRead), canWrite_(canWrite) {
  struct stat info {};
  isRegular_ = ::fstat(fd_.get(), &info) == 0 && S_ISREG(info.st_mode);
}

DWORD FileObject::moveTo(int64_t offset) {
  if (::lseek(fd_.get(), offset, SEEK_SET) < 0) return Win32ErrorFromErrno(errno);
  return ERROR_SUCCESS;
}

DWORD FileObject::read(void* buffer, DWORD count, std::optional<int64_t> offset, DWORD* done) {
  *done = 0;
  if (!canRead_) return ERROR_ACCESS_DENIED;
  std::lock_guard lock(mutex_);
  if (offset) {
    if (DWORD error = moveTo(*offset)) return error;
  }
  auto* bytes = static_cast<char*>(buffer);
  // A regular file is read until the count or its end; a pipe or device
  // returns what it has, like a read of one there.
  while (*done < count) {
    ssize_t got = ::read(fd_.get(), bytes + *done, count - *done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Win32ErrorFromErrno(errno);
    *done += static_cast<DWORD>(got);
    if (got == 0 || !isRegular_) break;
  }
  return ERROR_SUCCESS;
}

DWORD FileObject::write(const void* buffer, DWORD count, std::optional<int64_t> offset,
                        DWORD* done) {
  *done = 0;
  if (!canWrite_) return ERROR_ACCESS_DENIED;
  std::lock_guard lock(mutex_);
  if (offset) {
    if (DWORD error = moveTo(*offset)) return error;
  }
  const uint64_t fits = ReserveDiskSpace(count);
  const auto* bytes = static_cast<const char*>(buffer);
  DWORD error = ERROR_SUCCESS;
  while (*done < fits) {
    ssize_t put = ::write(fd_.get(), bytes + *done, fits - *done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      error = Win32ErrorFromErrno(errno);
      break;
    }
    *done += static_cast<DWORD>(put);
  }
  ReturnDiskSpace(fits - *done);
  if (error == ERROR_SUCCESS && *done < count) error = ERROR_DISK_FULL;
  return error;
}

DWORD FileObject::seek(int64_t distance, DWORD method, int64_t maxPosition, int64_t* position) {
  std::lock_guard lock(mutex_);
  int64_t base;
  switch (method) {
    case FILE_BEGIN:
      base = 0;
      break;
    case FILE_CURRENT:
      base = ::lseek(fd_.get(), 0, SEEK_CUR);
      if (base < 0) return Win32ErrorFromErrno(errno);
      break;
    case FILE_END: {
      struct stat info {};
      if (::fstat(fd_.get(), &info) != 0) return Win32ErrorFromErrno(errno);
      base = info.st_size;
      break;
    }
    default:
      return ERROR_INVALID_PARAMETER;
  }
  int64_t target;
  if (__builtin_add_overflow(base, distance, &target)) return ERROR_INVALID_PARAMETER;
  if (target < 0) return ERROR_NEGATIVE_SEEK;
  if (target > maxPosition) return ERROR_INVALID_PARAMETER;
  if (DWORD error = moveTo(target)) return error;
  *position = target;
  return ERROR_SUCCESS;
}

DWORD FileObject::size(int64_t* bytes) const {
  struct stat info {};
  if (::fstat(fd_.get(), &info) != 0) return Win32ErrorFromErrno(errno);
  *bytes = info.st_size;
  return ERROR_SUCCESS;
}

DWORD FileObject::setEnd() {
  if (!canWrite_) return ERROR_ACCESS_DENIED;
  std::lock_guard lock(mutex_);
  off_t here = ::lseek(fd_.get(), 0, SEEK_CUR);
  if (here < 0 || ::ftruncate(fd_.get(), here) != 0) return Win32ErrorFromErrno(errno);
  return ERROR_SUCCESS;
}

DWORD FileObject::flush() {
  if (!canWrite_) return ERROR_ACCESS_DENIED;
  if (::fsync(fd_.get()) != 0 && errno != EINVAL) return Win32ErrorFromErrno(errno);
  return ERROR_SUCCESS;
}

}  // namespace platform::internal

namespace platform {

void SimulateDiskFull(bool full) {
  internal::SimulatedDisk& disk = internal::simulatedDisk();
  std::lock_guard lock(disk.mutex);
  disk.freeBytes = full ? std::optional<uint64_t>(0) : std::nullopt;
}

void SimulateFreeDiskSpace(uint64_t bytes) {
  internal::SimulatedDisk& disk = internal::simulatedDisk();
  std::lock_guard lock(disk.mutex);
  disk.freeBytes = bytes;
}

}  // namespace platform

// Files over POSIX descriptors, with the platform's handles, creation
// dispositions, share modes and last-error codes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "internal/FileObject.h"
#include "internal/HandleTable.h"
#include "internal/PathNames.h"
#include "internal/ShareModes.h"
#include "internal/UniqueFd.h"
#include "platform/kernel.h"
#include "platform/testing.h"

using platform::internal::FileObject;
using platform::internal::KernelHandles;
using platform::internal::UniqueFd;

namespace {

struct Access {
  bool reads;
  bool writes;
};

Access accessOf(DWORD desiredAccess) {
  return {
      (desiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0,
      (desiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0};
}

struct OpenedFile {
  UniqueFd fd;
  bool existed = false;
  DWORD error = ERROR_SUCCESS;
};

DWORD errorOfOpen(int error, const std::string& path) {
  return error == ENOENT ? platform::internal::MissingPathError(path)
                         : platform::Win32ErrorFromErrno(error);
}

int openDescriptor(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    // Non-blocking so that opening a FIFO without a peer cannot hang.
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Opens for the access asked. A writer is opened for reading too when the
// file allows it, because the share-mode marks need a readable descriptor;
// the handle still refuses reads it was not granted.
int openWithAccess(const std::string& path, Access access, int creation, mode_t mode) {
  if (!access.writes) return openDescriptor(path, O_RDONLY | creation, mode);
  int fd = openDescriptor(path, O_RDWR | creation, mode);
  if (fd < 0 && errno == EACCES && !access.reads) {
    fd = openDescriptor(path, O_WRONLY | creation, mode);
  }
  return fd;
}

OpenedFile openForDisposition(const std::string& path, Access access, DWORD disposition,
                              mode_t mode) {
  OpenedFile opened;
  switch (disposition) {
    case CREATE_NEW:
      opened.fd = UniqueFd(openWithAccess(path, access, O_CREAT | O_EXCL, mode));
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      opened.fd = UniqueFd(openWithAccess(path, access, 0, mode));
      opened.existed = true;
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      // Open first to learn whether the file existed; create only when it did
      // not, and try again if another creator came in between.
      for (int attempt = 0; attempt < 8 && !opened.fd; ++attempt) {
        opened.fd = UniqueFd(openWithAccess(path, access, 0, mode));
        opened.existed = static_cast<bool>(opened.fd);
        if (opened.fd || errno != ENOENT) break;
        opened.fd = UniqueFd(openWithAccess(path, access, O_CREAT | O_EXCL, mode));
        if (!opened.fd && errno != EEXIST) break;
      }
      break;
    default:
      opened.error = ERROR_INVALID_PARAMETER;
      return opened;
  }
  if (!opened.fd) opened.error = errorOfOpen(errno, path);
  return opened;
}

// The read-only attribute is a file without any write permission bit; like
// the platform's attribute it refuses writers, the superuser included.
bool isReadOnly(const struct stat& info) {
  return (info.st_mode & 0222) == 0;
}

std::shared_ptr<FileObject> fileOf(HANDLE handle) {
  auto file = KernelHandles().findAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

std::optional<int64_t> offsetOf(const OVERLAPPED* overlapped) {
  if (!overlapped) return std::nullopt;
  return static_cast<int64_t>((uint64_t{overlapped->OffsetHigh} << 32) | overlapped->Offset);
}

BOOL succeedOrFail(DWORD error) {
  if (error == ERROR_SUCCESS) return TRUE;
  SetLastError(error);
  return FALSE;
}

HANDLE failCreate(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// What the opened descriptor forbids: a folder, or a read-only file for a
// writer.
DWORD checkOpenedFile(int fd, Access access, bool existed) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return platform::Win32ErrorFromErrno(errno);
  if (S_ISDIR(info.st_mode)) return ERROR_ACCESS_DENIED;
  if (existed && access.writes && S_ISREG(info.st_mode) && isReadOnly(info)) {
    return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
  if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING) {
    return failCreate(ERROR_INVALID_PARAMETER);
  }
  const Access access = accessOf(desiredAccess);
  if (creationDisposition == TRUNCATE_EXISTING && !access.writes) {
    return failCreate(ERROR_INVALID_PARAMETER);
  }
  platform::internal::PosixPath posix = platform::internal::PosixPathOf(fileName);
  if (posix.error) return failCreate(posix.error);

  const mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  OpenedFile opened = openForDisposition(posix.path, access, creationDisposition, mode);
  if (opened.error) return failCreate(opened.error);
  if (DWORD error = checkOpenedFile(opened.fd.get(), access, opened.existed)) {
    return failCreate(error);
  }
  if (DWORD error = platform::internal::ClaimShareAccess(opened.fd.get(), access.reads,
                                                         access.writes, shareMode)) {
    return failCreate(error);
  }
  // Truncate only once the share modes allowed the open.
  bool truncates = opened.existed && (creationDisposition == CREATE_ALWAYS ||
                                      creationDisposition == TRUNCATE_EXISTING);
  if (truncates && ::ftruncate(opened.fd.get(), 0) != 0) {
    return failCreate(platform::Win32ErrorFromErrno(errno));
  }

  auto file = std::make_shared<FileObject>(std::move(opened.fd), access.reads, access.writes);
  HANDLE handle = KernelHandles().insert(std::move(file));
  if (!handle) return failCreate(ERROR_TOO_MANY_OPEN_FILES);
  bool reportsExisting = opened.existed && (creationDisposition == CREATE_ALWAYS ||
                                            creationDisposition == OPEN_ALWAYS);
  SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped) {
  DWORD done = 0;
  if (bytesRead) *bytesRead = 0;
  auto object = fileOf(file);
  if (!object) return FALSE;
  if (!buffer && bytesToRead > 0) return succeedOrFail(ERROR_NOACCESS);
  DWORD error = object->read(buffer, bytesToRead, offsetOf(overlapped), &done);
  if (bytesRead) *bytesRead = done;
  return succeedOrFail(error);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
  DWORD done = 0;
  if (bytesWritten) *bytesWritten = 0;
  auto object = fileOf(file);
  if (!object) return FALSE;
  if (!buffer && bytesToWrite > 0) return succeedOrFail(ERROR_NOACCESS);
  DWORD error = object->write(buffer, bytesToWrite, offsetOf(overlapped), &done);
  if (bytesWritten) *bytesWritten = done;
  return succeedOrFail(error);
}

DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod) {
  auto object = fileOf(file);
  if (!object) return INVALID_SET_FILE_POINTER;
  // Without a high part the distance is a signed 32-bit value; with one, the
  // two parts form a signed 64-bit value.
  int64_t distance = distanceToMoveHigh
                         ? static_cast<int64_t>((uint64_t(uint32_t(*distanceToMoveHigh)) << 32) |
                                                uint32_t(distanceToMove))
                         : distanceToMove;
  // Without a high part the new position must fit the 32-bit result.
  const int64_t maxPosition = distanceToMoveHigh ? INT64_MAX : int64_t{0xFFFFFFFE};
  int64_t position = 0;
  if (DWORD error = object->seek(distance, moveMethod, maxPosition, &position)) {
    SetLastError(error);
    return INVALID_SET_FILE_POINTER;
  }
  if (!distanceToMoveHigh) return static_cast<DWORD>(position);
  *distanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
  DWORD low = static_cast<DWORD>(position);
  // A low part that equals INVALID_SET_FILE_POINTER is told apart from a
  // failure by a last error of 0.
  if (low == INVALID_SET_FILE_POINTER) SetLastError(ERROR_SUCCESS);
  return low;
}

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER fileSize) {
  auto object = fileOf(file);
  if (!object) return FALSE;
  if (!fileSize) return succeedOrFail(ERROR_INVALID_PARAMETER);
  int64_t bytes = 0;
  if (DWORD error = object->size(&bytes)) return succeedOrFail(error);
  fileSize->QuadPart = bytes;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return INVALID_FILE_SIZE;
  if (fileSizeHigh) *fileSizeHigh = static_cast<DWORD>(size.HighPart);
  if (size.LowPart == INVALID_FILE_SIZE) SetLastError(ERROR_SUCCESS);
  return size.LowPart;
}

BOOL SetEndOfFile(HANDLE file) {
  auto object = fileOf(file);
  return object ? succeedOrFail(object->setEnd()) : FALSE;
}

BOOL FlushFileBuffers(HANDLE file) {
  auto object = fileOf(file);
  return object ? succeedOrFail(object->flush()) : FALSE;
}

BOOL CloseHandle(HANDLE object) {
  // The object (and its descriptor) goes when the last user lets go of it.
  if (!KernelHandles().remove(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
  platform::internal::PosixPath posix = platform::internal::PosixPathOf(fileName);
  if (posix.error) return succeedOrFail(posix.error);
  struct stat info {};
  if (::lstat(posix.path.c_str(), &info) != 0) return succeedOrFail(errorOfOpen(errno, posix.path));
  if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && isReadOnly(info))) {
    return succeedOrFail(ERROR_ACCESS_DENIED);
  }
  if (S_ISREG(info.st_mode)) {
    UniqueFd probe(openDescriptor(posix.path, O_RDONLY, 0));
    if (probe && platform::internal::IsDeletionRefused(probe.get())) {
      return succeedOrFail(ERROR_SHARING_VIOLATION);
    }
  }
  if (::unlink(posix.path.c_str()) != 0) return succeedOrFail(errorOfOpen(errno, posix.path));
  return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
  platform::internal::PosixPath posix = platform::internal::PosixPathOf(fileName);
  if (posix.error) {
    SetLastError(posix.error);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info {};
  if (::stat(posix.path.c_str(), &info) != 0) {
    SetLastError(errorOfOpen(errno, posix.path));
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (!S_ISDIR(info.st_mode) && isReadOnly(info)) attributes |= FILE_ATTRIBUTE_READONLY;
  // Dot files are the hidden files of a POSIX tree.
  std::string_view path = posix.path;
  while (path.size() > 1 && path.back() == '/')
    path.remove_suffix(1);
  std::string_view name = path.substr(path.rfind('/') + 1);
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

namespace platform {

size_t OpenKernelHandleCount() {
  return internal::KernelHandles().size();
}

}  // namespace platform

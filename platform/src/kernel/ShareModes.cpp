#include "internal/ShareModes.h"

#include <fcntl.h>

#include <initializer_list>
#include <mutex>

#include "platform/kernel.h"

namespace platform::internal {
namespace {

enum class Marker : off_t { Reads, Writes, RefusesRead, RefusesWrite, RefusesDelete };

constexpr off_t kMarkerBase = 0x7FFFFFFFFFFFFF00;

struct flock markerLock(Marker marker, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kMarkerBase + static_cast<off_t>(marker);
  lock.l_len = 1;
  return lock;
}

// True when another open file description holds the marker.
bool isMarked(int fd, Marker marker) {
  struct flock probe = markerLock(marker, F_WRLCK);
  if (::fcntl(fd, F_OFD_GETLK, &probe) != 0) return false;
  return probe.l_type != F_UNLCK;
}

bool mark(int fd, Marker marker) {
  struct flock lock = markerLock(marker, F_RDLCK);
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool isWriteOnly(int fd) {
  return (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY;
}

// Serialises check-then-mark between the threads of this process.
std::mutex& claimMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

DWORD ClaimShareAccess(int fd, bool reads, bool writes, DWORD shareMode) {
  if (!reads && !writes) return ERROR_SUCCESS;
  const bool sharesRead = shareMode & FILE_SHARE_READ;
  const bool sharesWrite = shareMode & FILE_SHARE_WRITE;
  const bool sharesDelete = shareMode & FILE_SHARE_DELETE;

  std::lock_guard guard(claimMutex());
  if ((reads && isMarked(fd, Marker::RefusesRead)) ||
      (writes && isMarked(fd, Marker::RefusesWrite)) ||
      (!sharesRead && isMarked(fd, Marker::Reads)) ||
      (!sharesWrite && isMarked(fd, Marker::Writes))) {
    return ERROR_SHARING_VIOLATION;
  }
  if (isWriteOnly(fd)) return ERROR_SUCCESS;
  struct Wanted {
    bool wanted;
    Marker marker;
  };
  for (Wanted w :
       {Wanted{reads, Marker::Reads}, Wanted{writes, Marker::Writes},
        Wanted{!sharesRead, Marker::RefusesRead}, Wanted{!sharesWrite, Marker::RefusesWrite},
        Wanted{!sharesDelete, Marker::RefusesDelete}}) {
    if (w.wanted) mark(fd, w.marker);
  }
  return ERROR_SUCCESS;
}

bool IsDeletionRefused(int fd) {
  return isMarked(fd, Marker::RefusesDelete);
}

}  // namespace platform::internal

// Share modes between handles of one file, kept with advisory locks.
//
// Each handle that reads or writes holds shared locks on marker bytes far
// beyond any real data: one saying it reads, one that it writes, and one for
// each kind of access its share mode refuses to others. A new handle is
// refused when a marker conflicts with what it asks for or refuses. Open-file-
// description locks make this hold between handles of this process as well as
// between processes.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// Checks the file's other handles against this one's access and share mode,
// then marks this handle's own. ERROR_SUCCESS or ERROR_SHARING_VIOLATION.
// A handle that neither reads nor writes takes part in no check. The marks
// need a descriptor open for reading; on a write-only one they are left out.
DWORD ClaimShareAccess(int fd, bool reads, bool writes, DWORD shareMode);

// True when an open handle of the file refuses deletion (no FILE_SHARE_DELETE).
bool IsDeletionRefused(int fd);

}  // namespace platform::internal

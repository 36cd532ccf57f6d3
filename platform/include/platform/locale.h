// The user locale of the process: derived from the POSIX locale environment
// (LC_ALL, then LC_NUMERIC, then LANG), replaceable for tests.
#pragma once

#include "platform/types.h"

namespace platform {

// Replaces the user default locale (0 restores the environment's).
void SetUserLocaleOverride(LCID lcid);

// Installs a user locale for the lifetime of the object (tests).
class ScopedUserLocale {
 public:
  explicit ScopedUserLocale(LCID lcid) { SetUserLocaleOverride(lcid); }
  ~ScopedUserLocale() { SetUserLocaleOverride(0); }
  ScopedUserLocale(const ScopedUserLocale&) = delete;
  ScopedUserLocale& operator=(const ScopedUserLocale&) = delete;
};

// Maps a POSIX locale name such as "de_DE.UTF-8" to an identifier; unknown
// names give en-US (0x0409).
LCID LcidFromPosixName(const char* name);

}  // namespace platform

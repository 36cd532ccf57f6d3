// GetTickCount and Sleep on the replaceable clock.
#include "platform/clock.h"
#include "platform/kernel.h"

DWORD GetTickCount() {
  return static_cast<DWORD>(platform::CurrentClock().nowMs());
}

ULONGLONG GetTickCount64() {
  return platform::CurrentClock().nowMs();
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == INFINITE) {
    // Sleeping forever on the UI thread is never what a caller of this
    // platform wants; callers bound their waits before they get here.
    milliseconds = 0x7FFFFFFF;
  }
  platform::CurrentClock().sleepMs(milliseconds);
}

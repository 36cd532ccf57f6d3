// The report of an error that no procedure takes, and the end of the program
// that follows it.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Shows "Run-time error '<number>'" and the description in a box captioned
// "shutdown" (MB_OK | MB_ICONWARNING, no owner); blocks until it is closed.
void ReportUnhandledError(LONG number, BSTR description);

// Starts the end of the program once: sets the thread's terminating flag and
// asks the forms engine to close every loaded form. Later raises anywhere
// become the terminate status.
void BeginTermination();

}  // namespace rt

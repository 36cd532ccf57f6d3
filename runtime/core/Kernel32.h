// The kernel32 procedures the application declares for its timing.
#pragma once

#include "runtime/core/DeclaredProcedure.h"

namespace rt::kernel32 {

// Declare Function GetTickCount Lib "kernel32" () As Long
extern DeclaredProcedure<DWORD()> GetTickCount;
// Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)
extern DeclaredProcedure<void(DWORD)> Sleep;

}  // namespace rt::kernel32

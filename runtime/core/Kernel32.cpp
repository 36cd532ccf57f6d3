#include "runtime/core/Kernel32.h"

namespace rt::kernel32 {

constinit DeclaredProcedure<DWORD()> GetTickCount{u"kernel32", "GetTickCount"};
constinit DeclaredProcedure<void(DWORD)> Sleep{u"kernel32", "Sleep"};

}  // namespace rt::kernel32

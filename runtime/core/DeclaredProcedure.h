// A procedure declared from a DLL, called from a procedure of the error model:
//
//   static DeclaredProcedure<DWORD()> GetTickCountDecl{u"kernel32", "GetTickCount"};
//   ...
//   case kStart:
//     started = GetTickCountDecl(frame, {kSiteBinding, kSiteStack});
//     return Step;
//
// with the two sites in the procedure's descriptor:
//
//   DllBindingFailedSite(kStart), DllStackMismatchSite(kStart)
//
// The first call binds (DllBinding); later calls go straight to the function.
// After the call, in this order: a failed binding raises at the first site
// with the error object as the binder filled it; a declaration whose argument
// bytes differ from what the function takes raises "Bad DLL definition.
// Stack corruption detected." at the second; with captureLastError the
// thread's last error goes into the error object's last DLL error.
//
// The argument bytes come from the declaration's signature on one side and
// from the function's export record on the other, so a mismatch is known
// before the call, and a function is never entered with a wrong argument
// list: the call is skipped, as if the stack had been restored.
#pragma once

#include <type_traits>

#include "platform/libraries.h"
#include "runtime/core/DllBinding.h"
#include "runtime/core/ProcedureFrame.h"

namespace rt {

// Where a declared-procedure call raises.
struct DllCallSites {
  // A site whose fixed status is StatusErrorAlreadySet (DllBindingFailedSite).
  SiteIndex bindingFailed;
  // A site whose fixed status is StatusDllStackMismatch (DllStackMismatchSite).
  SiteIndex stackMismatch;
  // Store GetLastError() in the error object's last DLL error after the call.
  bool captureLastError = false;
};

SiteRecord DllBindingFailedSite(StatementIndex statement);
SiteRecord DllStackMismatchSite(StatementIndex statement);

namespace internal {
// The checks after a call, in their order; raises at the frame's sites.
void FinishDllCall(ProcedureFrame& frame, const DllCallSites& sites, bool stackMatches,
                   DWORD lastError);
}  // namespace internal

template <typename Signature>
class DeclaredProcedure;

template <typename R, typename... Args>
class DeclaredProcedure<R(Args...)> {
 public:
  using Entry = R (*)(Args...);
  // What a call of this declaration pushes, in the 32-bit standard calling
  // convention.
  static constexpr int kArgumentBytes = platform::ArgumentBytesOf(Entry{});

  constexpr DeclaredProcedure(const char16_t* library, const char* entryPoint) {
    binding_.libraryName = library;
    binding_.entryPointName = entryPoint;
  }
  DeclaredProcedure(const DeclaredProcedure&) = delete;
  DeclaredProcedure& operator=(const DeclaredProcedure&) = delete;

  R operator()(ProcedureFrame& frame, const DllCallSites& sites, Args... args) {
    FARPROC entry = binding_.entry;
    if (!binding_.bound()) entry = BindDll(binding_);
    const bool stackMatches =
        binding_.removedArgumentBytes < 0 || binding_.removedArgumentBytes == kArgumentBytes;
    const bool calls = entry && stackMatches;
    if constexpr (std::is_void_v<R>) {
      if (calls) function(entry)(args...);
      internal::FinishDllCall(frame, sites, stackMatches, GetLastError());
    } else {
      R result{};
      if (calls) result = function(entry)(args...);
      internal::FinishDllCall(frame, sites, stackMatches, GetLastError());
      return result;
    }
  }

  const DllBinding& binding() const { return binding_; }

 private:
  static Entry function(FARPROC entry) {
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(entry));
  }

  DllBinding binding_;
};

}  // namespace rt

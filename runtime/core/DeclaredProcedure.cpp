#include "runtime/core/DeclaredProcedure.h"

namespace rt {

SiteRecord DllBindingFailedSite(StatementIndex statement) {
  return Site::Fixed(statement, StatusErrorAlreadySet);
}

SiteRecord DllStackMismatchSite(StatementIndex statement) {
  return Site::Fixed(statement, StatusDllStackMismatch);
}

namespace internal {

void FinishDllCall(ProcedureFrame& frame, const DllCallSites& sites, bool stackMatches,
                   DWORD lastError) {
  ThreadErrorContext& thread = CurrentErrorContext();
  if (thread.dllBindingFailed) frame.raise(sites.bindingFailed, StatusErrorAlreadySet);
  if (!stackMatches) frame.raise(sites.stackMismatch, StatusDllStackMismatch);
  if (sites.captureLastError) thread.error.lastDllError = lastError;
}

}  // namespace internal
}  // namespace rt

#include "runtime/core/ThreadErrorContext.h"

#include <new>

namespace rt {

ThreadErrorContext::ThreadErrorContext() = default;

ThreadErrorContext::~ThreadErrorContext() {
  // The thread's error-information slot may still point at our shim.
  if (errorInfo) SetErrorInfo(0, nullptr);
}

void ThreadErrorContext::registerErrorInfo() {
  if (!errorInfo) {
    try {
      errorInfo = std::make_unique<ErrorInfoShim>(error);
    } catch (const std::bad_alloc&) {
      // Callers then see no error information; dispatch goes on.
    }
  }
  SetErrorInfo(0, errorInfo.get());
}

ThreadErrorContext& CurrentErrorContext() {
  thread_local ThreadErrorContext context;
  return context;
}

}  // namespace rt

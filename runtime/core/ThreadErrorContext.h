// The per-thread state of the error model.
#pragma once

#include <memory>

#include "platform/com.h"
#include "runtime/core/ErrorInfoShim.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/SiteTable.h"

namespace rt {

class ProcedureFrame;

struct ThreadErrorContext {
  ThreadErrorContext();
  ~ThreadErrorContext();
  ThreadErrorContext(const ThreadErrorContext&) = delete;
  ThreadErrorContext& operator=(const ThreadErrorContext&) = delete;

  // Innermost active procedure frame; null when no procedure runs.
  ProcedureFrame* frameHead = nullptr;
  // Incremented on every procedure entry.
  uint32_t frameSequence = 0;
  // Non-null when the failing call was made on an object that may have left
  // error information: the frame word the site names.
  const void* pendingObject = nullptr;
  // The object itself when the site's frame word holds one (not a frame link),
  // for the ISupportErrorInfo check.
  IUnknown* pendingComObject = nullptr;
  // The interface whose method failed, for the support check; null when none.
  const IID* pendingInterface = nullptr;
  // The status the dispatcher must translate; 0 when none.
  HRESULT pendingStatus = 0;
  // Set by the declared-procedure binder when it has filled the error object.
  uint32_t dllBindingFailed = 0;
  ErrorObject error;
  // Created on the first raise.
  std::unique_ptr<ErrorInfoShim> errorInfo;
  // Set once the terminate status has been dispatched; never cleared.
  bool terminating = false;
  // Set while the runtime fires events through connected sinks.
  bool runtimeInvoke = false;
  // The forms engine's list of loaded forms (owned there) and its close-all
  // operation, run when the program ends after an unhandled error.
  void* loadedFormsHead = nullptr;
  void (*closeAllForms)(void* loadedFormsHead) = nullptr;
  // The site decoded at the last raise.
  DecodedSite decodedSite;
  // The help file and context of the message box being shown.
  Bstr messageBoxHelpFile;
  LONG messageBoxHelpContext = 0;

  // Creates the error-information object if needed and registers it as the
  // thread's error information (null when it could not be created).
  void registerErrorInfo();
};

ThreadErrorContext& CurrentErrorContext();

// Sets the runtime-invoke flag while the runtime fires an event, restoring
// the previous value afterwards.
class RuntimeInvokeScope {
 public:
  RuntimeInvokeScope() : saved_(CurrentErrorContext().runtimeInvoke) {
    CurrentErrorContext().runtimeInvoke = true;
  }
  ~RuntimeInvokeScope() { CurrentErrorContext().runtimeInvoke = saved_; }
  RuntimeInvokeScope(const RuntimeInvokeScope&) = delete;
  RuntimeInvokeScope& operator=(const RuntimeInvokeScope&) = delete;

 private:
  bool saved_;
};

}  // namespace rt

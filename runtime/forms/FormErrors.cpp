#include "runtime/forms/internal/FormErrors.h"

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {

HRESULT RaiseEngineError(int number, const char16_t* text) {
  const HRESULT status = SetErrorFromStatus(ErrorStatus(number));
  ThreadErrorContext& context = CurrentErrorContext();
  context.error.description = Bstr(text);
  context.registerErrorInfo();
  return status;
}

}  // namespace rt

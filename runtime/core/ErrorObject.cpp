#include "runtime/core/ErrorObject.h"

#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/ErrorNumbers.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {
namespace {

Bstr take(BSTR s, bool takeOwnership) {
  if (takeOwnership) return Bstr::Adopt(s);
  return s ? Bstr::Adopt(SysAllocStringLen(s, SysStringLen(s))) : Bstr();
}

// The description used when the raiser gave none: table text without the
// default option, then the system text, then the application-defined text.
Bstr replacementDescription(HRESULT status, int number) {
  const char16_t* text = nullptr;
  MapStatusToNumber(status, &text);
  if (text) return Bstr(text);
  if (Bstr system = SystemMessageText(number); system.get()) return system;
  return Bstr(kApplicationDefinedError);
}

}  // namespace

void FillErrorObject(ErrorObject& error, HRESULT status, BSTR source, BSTR description,
                     BSTR helpFile, LONG helpContext, LONG lineValue, bool takeOwnership) {
  const int number = MapStatusToNumber(status);
  error.number = StoredNumber(number);
  error.lineNumber = lineValue;
  error.lastDllError = 0;
  error.source = take(source, takeOwnership);
  error.helpFile = take(helpFile, takeOwnership);
  error.description =
      description ? take(description, takeOwnership) : replacementDescription(status, number);
  error.helpContext = helpContext;
}

HRESULT SetErrorFromStatus(HRESULT status) {
  ThreadErrorContext& context = CurrentErrorContext();
  ErrorObject& error = context.error;
  const int number = MapStatusToNumber(status);
  error.number = StoredNumber(number);
  error.description = replacementDescription(status, number);
  error.source.reset();
  error.helpFile.reset();
  error.helpContext = 0;
  error.lastDllError = 0;
  error.lineNumber = 0;
  context.registerErrorInfo();
  return status;
}

void ClearErrorObject() {
  ErrorObject& error = CurrentErrorContext().error;
  error.number = 0;
  error.helpContext = 0;
  error.lastDllError = 0;
  error.description.reset();
  error.helpFile.reset();
  error.source.reset();
}

}  // namespace rt

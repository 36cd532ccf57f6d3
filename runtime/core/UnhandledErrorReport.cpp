#include "runtime/core/UnhandledErrorReport.h"

#include <string>

#include "platform/user.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {

void ReportUnhandledError(LONG number, BSTR description) {
  Bstr digits;
  VarBstrFromI4(number, 0, 0, digits.out());
  std::u16string text = u"Run-time error '";
  text += digits.view();
  text += u"'\r\n\r\n";
  if (description) text.append(description, SysStringLen(description));
  MessageBoxW(nullptr, text.c_str(), u"shutdown", MB_OK | MB_ICONWARNING);
}

void BeginTermination() {
  ThreadErrorContext& context = CurrentErrorContext();
  if (context.terminating) return;
  context.terminating = true;
  if (context.closeAllForms) context.closeAllForms(context.loadedFormsHead);
}

}  // namespace rt

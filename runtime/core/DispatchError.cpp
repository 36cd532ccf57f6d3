// The error dispatcher: turns the raised status into the error object's
// contents (part 1), resolves the internal statuses (part 2) and chooses where
// the failing procedure goes on (part 3).
#include <cfenv>

#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/ErrorNumbers.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/core/UnhandledErrorReport.h"

namespace rt {
namespace {

// The code the dispatch works on, and whether part 2 must carry the current
// description and source over into the refilled error object.
struct DispatchCode {
  HRESULT code;
  bool carryStrings = false;
};

BSTR copyOf(const Bstr& s) {
  return s.get() ? SysAllocStringLen(s.get(), s.length()) : nullptr;
}

// A string an IErrorInfo getter hands out; null when the getter fails.
template <typename Getter>
BSTR fetch(Getter getter) {
  BSTR out = nullptr;
  if (FAILED(getter(&out))) {
    SysFreeString(out);
    return nullptr;
  }
  return out;
}

// The raise came from the frame's record (Err.Raise), or from a method of an
// object in the outermost frame, whose record is empty.
void fillFromRecord(ThreadErrorContext& context, ProcedureFrame& frame) {
  RaiseRecord& record = frame.raiseRecord;
  const DecodedSite& site = context.decodedSite;
  if (record.fill) record.fill(&record);
  if (record.number >= 0) record.number = site.status;
  ErrorObject& error = context.error;
  if (record.number >= 0 && (record.number & 0xFFFF) == (error.number & 0xFFFF)) {
    // The error object's current texts survive the refill.
    record.source = Bstr::Adopt(copyOf(error.source));
    record.description = Bstr::Adopt(copyOf(error.description));
  }
  FillErrorObject(error, record.number, record.source.release(), record.description.release(),
                  record.helpFile.release(), record.helpContext, site.lineValue, true);
  record.number = 0;
  record.helpContext = 0;
}

bool objectSupportsErrorInfo(const ThreadErrorContext& context) {
  if (!context.pendingInterface) return true;
  ComPtr<ISupportErrorInfo> support = QueryInterfaceOf<ISupportErrorInfo>(context.pendingComObject);
  return support && support->InterfaceSupportsErrorInfo(*context.pendingInterface) == S_OK;
}

// A failed call on an object: its error information, or "Automation error".
void fillFromObject(ThreadErrorContext& context, HRESULT status) {
  ErrorObject& error = context.error;
  const LONG lineValue = context.decodedSite.lineValue;
  const int number = MapStatusToNumber(status);
  ComPtr<IErrorInfo> info;
  if (objectSupportsErrorInfo(context)) GetErrorInfo(0, &info);
  if (!info) {
    error.description = Bstr(kAutomationErrorText);
    if (!error.description.get()) error.description = DefaultDescription(number);
    error.source.reset();
    error.helpFile.reset();
    error.helpContext = 0;
    error.lastDllError = 0;
    error.lineNumber = lineValue;
    error.number = StoredNumber(number);
    return;
  }
  Bstr description = Bstr::Adopt(fetch([&](BSTR* s) { return info->GetDescription(s); }));
  Bstr source = Bstr::Adopt(fetch([&](BSTR* s) { return info->GetSource(s); }));
  Bstr helpFile = Bstr::Adopt(fetch([&](BSTR* s) { return info->GetHelpFile(s); }));
  DWORD helpContext = 0;
  if (FAILED(info->GetHelpContext(&helpContext))) helpContext = 0;
  error.description = description.get() ? std::move(description) : DefaultDescription(number);
  error.source = std::move(source);
  error.helpFile = std::move(helpFile);
  error.helpContext = static_cast<LONG>(helpContext);
  error.lastDllError = 0;
  error.lineNumber = lineValue;
  error.number = StoredNumber(number);
}

// Part 1: the error object from the pending state.
HRESULT buildErrorObject(ThreadErrorContext& context, ProcedureFrame& frame) {
  std::feclearexcept(FE_ALL_EXCEPT);
  context.dllBindingFailed = 0;
  const DecodedSite& site = context.decodedSite;
  if (site.raiseFromRecord) context.pendingStatus = E_FAIL;
  if (context.pendingStatus == 0) return site.status;

  const HRESULT pending = context.pendingStatus;
  context.pendingStatus = 0;
  if (!context.pendingObject) {
    fillFromRecord(context, frame);
  } else {
    context.pendingObject = nullptr;
    fillFromObject(context, pending);
  }
  context.pendingComObject = nullptr;
  return StatusFromErrorObject;
}

void fillInternal(ErrorObject& error, HRESULT code, const char16_t* description) {
  FillErrorObject(error, code, nullptr, Bstr(description).release(), nullptr, 0, -1, true);
}

// Part 2: the internal statuses, in order.
HRESULT resolveInternalStatus(ThreadErrorContext& context, HRESULT raised) {
  ErrorObject& error = context.error;
  DispatchCode d{raised};
  if (d.code == StatusPendingNumber) {
    const LONG p = error.pendingNumber;
    const LONG n = error.number;
    if ((n <= 65535 && n == (p & 0xFFFF)) || n == p) {
      d.code = StatusFromErrorObject;
    } else {
      d.code = p;
      d.carryStrings = true;
    }
    error.pendingNumber = 0;
  }

  bool fromErrorObject = false;
  if (context.terminating) {
    d.code = StatusTerminate;
  } else if (d.code == StatusTerminate) {
    BeginTermination();
  } else if (d.code == StatusErrorAlreadySet) {
    // The raiser filled the error object itself.
  } else if (d.code == StatusFromErrorObject) {
    d.code = error.number;
    fromErrorObject = true;
  } else if (d.code == StatusDllStackMismatch) {
    fillInternal(error, d.code, u"Bad DLL definition.  Stack corruption detected.");
  } else if (d.code == StatusNullDelegate) {
    fillInternal(error, d.code, u"Bad delegate function pointer (NULL).");
  } else if (d.code != StatusAssertionFailed) {
    BSTR source = d.carryStrings ? copyOf(error.source) : nullptr;
    BSTR description = d.carryStrings ? copyOf(error.description) : nullptr;
    FillErrorObject(error, d.code, source, description, nullptr, 0, context.decodedSite.lineValue,
                    true);
  }
  if (d.code == StatusAssertionFailed) {
    const Bstr kept = fromErrorObject ? Bstr(error.description) : Bstr(u"Assertion FAILED");
    FillErrorObject(error, d.code, nullptr, Bstr(kept).release(), nullptr, 0, -1, true);
  }
  return d.code;
}

bool someoneTakesTheError(const ThreadErrorContext& context, const ProcedureFrame& failing) {
  for (const ProcedureFrame* g = &failing; g; g = g->link()) {
    if (g->resumeAddress == 0 && g->handler != ProcedureFrame::kNoHandler) return true;
    if (!g->link() && g->descriptor().returnKind == ReturnKind::Status && !context.runtimeInvoke) {
      return true;  // the outermost procedure returns the error to its native caller
    }
  }
  return false;
}

Continuation unwind(ProcedureFrame& frame, HRESULT code) {
  // A number n leaves as 0x800A0000 + n; a negative value as it is.
  frame.status = code >= 0 ? ErrorStatus(code) : code;
  return {Continuation::Kind::Unwind, 0};
}

StatementIndex statementAt(intptr_t address) {
  return static_cast<StatementIndex>(address - ProcedureDescriptor::kStartAddress);
}

// Part 3: where the failing procedure goes on.
Continuation chooseContinuation(ThreadErrorContext& context, ProcedureFrame& frame, HRESULT code) {
  // The end of the program unwinds every procedure, handlers or not.
  if (code == StatusTerminate) return unwind(frame, code);
  if (code == StatusAssertionFailed || !someoneTakesTheError(context, frame)) {
    ReportUnhandledError(context.error.number, context.error.description.get());
    BeginTermination();
    return unwind(frame, StatusTerminate);
  }
  if (frame.resumeAddress != 0 || frame.handler == ProcedureFrame::kNoHandler) {
    return unwind(frame, code);
  }
  const intptr_t start = ProcedureDescriptor::kStartAddress + context.decodedSite.statementStart;
  const intptr_t next = start + context.decodedSite.statementLength;
  if (frame.handler == ProcedureFrame::kResumeNextHandler) {
    return {Continuation::Kind::Statement, statementAt(next)};
  }
  frame.resumeAddress = start;
  frame.resumeNextAddress = next;
  return {Continuation::Kind::Statement, statementAt(frame.handler)};
}

}  // namespace

Continuation DispatchError() {
  ThreadErrorContext& context = CurrentErrorContext();
  ProcedureFrame* frame = context.frameHead;
  // Raises come only from a running procedure's own frame.
  if (!frame) return {Continuation::Kind::Unwind, 0};
  const HRESULT raised = buildErrorObject(context, *frame);
  context.registerErrorInfo();
  const HRESULT code = resolveInternalStatus(context, raised);
  return chooseContinuation(context, *frame, code);
}

}  // namespace rt

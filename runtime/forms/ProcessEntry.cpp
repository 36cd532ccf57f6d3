#include "runtime/forms/ProcessEntry.h"

#include "runtime/forms/EngineContext.h"

#include "platform/controls.h"
#include "platform/kernel.h"
#include "runtime/core/ApplicationTitle.h"
#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/ErrorNumbers.h"
#include "runtime/core/FileTable.h"
#include "runtime/core/PrintFormatTable.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/core/UnhandledErrorReport.h"
#include "runtime/library/LocaleValues.h"

namespace rt {

namespace {

ProcessValues& processValues() {
  static ProcessValues values;
  return values;
}

HRESULT ReadUserLocale() {
  processValues().userLocale = GetUserDefaultLCID();
  return S_OK;
}

// The start-up that can fail: its steps raise at sites 0 to 5, so a failure
// is reported like any unhandled run-time error and the program then takes
// its normal way out.
enum StartupStatement : StatementIndex {
  kMessageTable,
  kUserLocale,
  kDecimalSeparator,
  kFirstDayOfWeek,
  kFirstWeekOfYear,
  kModuleInitialisers,
  kFormsEngine,
};

const ProcedureDescriptor& StartupDescriptor() {
  static const ProcedureDescriptor descriptor = DescribeProcedure(
      "ProcessEntry", ReturnKind::Status,
      {Site::Call(kMessageTable), Site::Call(kUserLocale), Site::Call(kDecimalSeparator),
       Site::Call(kFirstDayOfWeek), Site::Call(kFirstWeekOfYear), Site::Call(kFormsEngine)});
  return descriptor;
}

// The third module runs twice more at the end of the initialisers, and its
// terminator likewise: both tolerate being run again.
void RunModules(const std::array<ModuleProcedure, 4>& procedures) {
  static constexpr size_t kOrder[] = {0, 1, 2, 3, 2, 2};
  for (size_t module : kOrder) {
    if (procedures[module]) procedures[module]();
  }
}

HRESULT RunStartupSteps(const ProgramImage& program) {
  RuntimeInvokeScope reportUnhandled;
  ProcedureFrame frame(StartupDescriptor());
  return frame.run([&](StatementIndex s) -> Next {
    switch (static_cast<StartupStatement>(s)) {
      case kMessageTable:
        frame.check(0, BuildErrorMessageTable());
        return Step;
      case kUserLocale:
        frame.check(1, ReadUserLocale());
        return Step;
      case kDecimalSeparator:
        frame.check(2, ReadDecimalSeparator());
        return Step;
      case kFirstDayOfWeek:
        frame.check(3, ReadFirstDayOfWeek());
        return Step;
      case kFirstWeekOfYear:
        frame.check(4, ReadFirstWeekOfYear());
        return Step;
      case kModuleInitialisers:
        RunModules(program.initialisers);
        return Step;
      case kFormsEngine:
        if (program.startFormsEngine) {
          frame.check(5, program.startFormsEngine(program.design, program.designSize));
        }
        return Exit;
    }
    return Exit;
  });
}

// A start-up form that cannot be shown (its load failed: a control whose
// class is not registered, a handler's error) would otherwise end the
// program without a word: its error is reported as an unhandled one, with
// the text the error object holds for it, else the number's own text.
void ReportFailedShow(HRESULT status) {
  const int number = StoredNumber(MapStatusToNumber(status));
  const ErrorObject& error = CurrentErrorContext().error;
  Bstr description = error.number == number && error.description.get()
                         ? Bstr(error.description.view())
                         : DefaultDescription(number);
  ReportUnhandledError(number, description.get());
}

// Shows the start-up object: by its "Show" method, unless it offers the
// start-up options and they ask for the engine's own way.
void ShowStartupObject(IDispatch* dispatch) {
  ComPtr<IStartupOptions> options;
  LONG word = 0;
  const bool plainShow =
      FAILED(dispatch->QueryInterface(IID_IStartupOptions, reinterpret_cast<void**>(&options))) ||
      FAILED(options->getOptions(&word)) || (word & kStartupOptionShow) != 0;
  if (!plainShow) return;  // the engine's own path: this build's forms always take "Show"
  LPOLESTR name = const_cast<LPOLESTR>(u"Show");
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))) return;
  DISPPARAMS none{};
  const HRESULT shown =
      dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  if (FAILED(shown)) ReportFailedShow(shown);
}

}  // namespace

const ProcessValues& CurrentProcessValues() {
  return processValues();
}

HRESULT RunStartup(CreateStartupObject create, ComPtr<IUnknown>& slot, void (*runMainLoop)()) {
  ComPtr<IUnknown> object;
  const HRESULT created = create(&object);
  if (FAILED(created)) return created;
  if (!object) return E_UNEXPECTED;
  slot = object;
  ComPtr<IDispatch> dispatch;
  const HRESULT asked = object.As(dispatch);
  if (FAILED(asked)) return asked;
  ShowStartupObject(dispatch.Get());
  if (runMainLoop) runMainLoop();
  return S_OK;
}

int RunProcessEntry(const ProgramImage& program) {
  ProcessValues& values = processValues();
  values.heap = GetProcessHeap();
  OleInitialize(nullptr);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0};
  InitCommonControlsEx(&controls);
  values.instance = GetModuleHandleA(nullptr);
  // The start-up object is held to the end of the run, and let go while the
  // thread's engine still exists (its form leaves the engine's registry).
  ComPtr<IUnknown> startupObject;
  if (SUCCEEDED(RunStartupSteps(program))) {
    FileTable::Create();
    PrintFormatTable::Narrow();
    PrintFormatTable::Wide();
    ApplicationTitle::Publish(ApplicationTitle::kProjectName);
    if (program.createStartupObject) {
      RunStartup(program.createStartupObject, startupObject, program.runMainLoop);
    }
  }
  RunModules(program.terminators);
  startupObject.Reset();
  // The engine ends with the program: its own windows go, and the records of
  // forms nothing loads any more let their objects go.
  ResetEngineContext();
  OleUninitialize();
  return 0;
}

}  // namespace rt

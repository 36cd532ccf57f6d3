// The process entry: the order of the modules, how the start-up object is
// shown, and that every way through ends with exit code 0 after the
// terminators.
#include "runtime/forms/ProcessEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/dialogs.h"
#include "runtime/com/ComObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

// What ran, in order: module letters, "show", "loop".
thread_local std::string trace;

template <char Letter>
HRESULT Initialiser() {
  trace += Letter;
  return S_OK;
}
template <char Letter>
HRESULT Terminator() {
  trace += static_cast<char>(Letter - 'A' + 'a');
  return S_OK;
}

// A start-up object with a "Show" method (dispatch id 7) and, optionally,
// the start-up options.
class StartupObject final : public ComObject<StartupObject, IDispatch, IStartupOptions> {
 public:
  StartupObject(bool offersOptions, LONG options)
      : offersOptions_(offersOptions), options_(options) {}

  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    if (std::u16string_view(names[0]) != u"Show") return DISP_E_UNKNOWNNAME;
    ids[0] = 7;
    return S_OK;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override {
    if (id != 7 || flags != DISPATCH_METHOD || params->cArgs != 0) return DISP_E_MEMBERNOTFOUND;
    trace += "show;";
    return S_OK;
  }
  HRESULT reserved1() override { return E_NOTIMPL; }
  HRESULT reserved2() override { return E_NOTIMPL; }
  HRESULT getOptions(LONG* options) override {
    *options = options_;
    return S_OK;
  }
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IStartupOptions && !offersOptions_) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, ppv);
  }

 private:
  bool offersOptions_;
  LONG options_;
};

thread_local bool offersOptions = false;
thread_local LONG startupOptions = 0;

HRESULT CreateStartup(IUnknown** object) {
  auto created = MakeComObject<StartupObject>(offersOptions, startupOptions);
  *object = created->unknown();
  (*object)->AddRef();
  return S_OK;
}
HRESULT CreateNothing(IUnknown** object) {
  *object = nullptr;
  return S_OK;
}
void MainLoop() {
  trace += "loop;";
}
HRESULT EngineFails(const BYTE*, size_t) {
  return ErrorStatus(7);  // Out of memory
}

ProgramImage Program() {
  ProgramImage program;
  program.initialisers = {&Initialiser<'A'>, &Initialiser<'B'>, &Initialiser<'C'>,
                          &Initialiser<'D'>};
  program.terminators = {&Terminator<'A'>, &Terminator<'B'>, &Terminator<'C'>, &Terminator<'D'>};
  program.createStartupObject = &CreateStartup;
  program.runMainLoop = &MainLoop;
  return program;
}

// Runs the entry on a thread of its own (the error context is per thread).
std::string RunEntry(ProgramImage program, bool options, LONG word, int* exitCode) {
  std::string seen;
  std::thread([&] {
    trace.clear();
    offersOptions = options;
    startupOptions = word;
    *exitCode = RunProcessEntry(program);
    seen = trace;
  }).join();
  return seen;
}

TEST(ProcessEntry, ShowsTheStartupObjectAsItsOptionsSay) {
  struct Case {
    const char* name;
    bool offersOptions;
    LONG options;
    const char* expected;
  };
  const Case cases[] = {
      {"no options interface", false, 0, "ABCDCCshow;loop;abcdcc"},
      {"option bit 0 set", true, 1, "ABCDCCshow;loop;abcdcc"},
      {"option bit 0 clear", true, 2, "ABCDCCloop;abcdcc"},
  };
  for (const Case& c : cases) {
    int exitCode = -1;
    EXPECT_EQ(RunEntry(Program(), c.offersOptions, c.options, &exitCode), c.expected) << c.name;
    EXPECT_EQ(exitCode, 0) << c.name;
  }
}

TEST(ProcessEntry, NoStartupObjectEndsWithTheTerminators) {
  ProgramImage program = Program();
  program.createStartupObject = &CreateNothing;
  int exitCode = -1;
  EXPECT_EQ(RunEntry(program, false, 0, &exitCode), "ABCDCCabcdcc");
  EXPECT_EQ(exitCode, 0);
}

TEST(ProcessEntry, AFailingEngineStartIsReportedAndTheProgramStillEndsCleanly) {
  platform::ScopedMessageBoxPolicy boxes;
  ProgramImage program = Program();
  program.startFormsEngine = &EngineFails;
  int exitCode = -1;
  EXPECT_EQ(RunEntry(program, false, 0, &exitCode), "ABCDCCabcdcc");
  EXPECT_EQ(exitCode, 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, u"shutdown");
  EXPECT_EQ(boxes.boxes()[0].text, u"Run-time error '7'\r\n\r\nOut of memory");
}

TEST(ProcessEntry, RunStartupReportsWhatWentWrongBeforeTheLoop) {
  std::thread([] {
    ComPtr<IUnknown> slot;
    trace.clear();
    EXPECT_EQ(RunStartup(&CreateNothing, slot, &MainLoop), E_UNEXPECTED);
    EXPECT_EQ(trace, "");
    offersOptions = false;
    EXPECT_EQ(RunStartup(&CreateStartup, slot, &MainLoop), S_OK);
    EXPECT_TRUE(slot);
    EXPECT_EQ(trace, "show;loop;");
  }).join();
}

}  // namespace
}  // namespace rt

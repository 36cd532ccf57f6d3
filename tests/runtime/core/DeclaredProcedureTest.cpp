// Declared DLL procedures: binding on first use, the two binding failures,
// the argument-size check and the last error, inside procedures of the error
// model.
#include "runtime/core/DeclaredProcedure.h"

#include <gtest/gtest.h>

#include <string>

#include "ErrorModelTestSupport.h"
#include "platform/clock.h"
#include "platform/libraries.h"
#include "platform/testing.h"
#include "runtime/core/Kernel32.h"

namespace rt {
namespace {

using testing::OnFreshThread;

HMODULE kernel32() {
  return GetModuleHandleW(u"kernel32");
}

// What a procedure's handler saw of a declared-procedure call.
struct Outcome {
  bool reachedAfter = false;
  bool handled = false;
  LONG number = 0;
  std::u16string description;
  uint32_t bindingFailedFlag = 0;
};

// Calls `call(frame, sites)` in statement 1 of a procedure with a handler,
// the way compiled code calls a declared procedure.
template <typename Call>
Outcome CallDeclared(Call call) {
  enum Stmt : StatementIndex { kTrap, kCall, kAfter, kHandler };
  enum Sites : SiteIndex { kSiteBinding, kSiteStack };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("CallDeclared", ReturnKind::Status,
                        {DllBindingFailedSite(kCall), DllStackMismatchSite(kCall)});
  Outcome outcome;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kTrap:
        frame.onErrorGoTo(kHandler);
        return Step;
      case kCall:
        call(frame, DllCallSites{kSiteBinding, kSiteStack});
        return Step;
      case kAfter:
        outcome.reachedAfter = true;
        return Exit;
      case kHandler: {
        const ThreadErrorContext& thread = CurrentErrorContext();
        outcome.handled = true;
        outcome.number = thread.error.number;
        outcome.description = thread.error.description.view();
        outcome.bindingFailedFlag = thread.dllBindingFailed;
        return frame.resumeNext();
      }
    }
    return Exit;
  });
  return outcome;
}

TEST(DeclaredProcedure, FirstCallBindsAndLaterCallsGoStraightToTheFunction) {
  OnFreshThread([] {
    platform::ScopedVirtualClock clock(5000);
    static DeclaredProcedure<DWORD()> getTickCount{u"kernel32", "GetTickCount"};
    const int referencesBefore = platform::LibraryReferenceCount(kernel32());
    DWORD ticks = 0;
    ASSERT_FALSE(getTickCount.binding().bound());

    Outcome first = CallDeclared(
        [&](ProcedureFrame& f, DllCallSites sites) { ticks = getTickCount(f, sites); });
    EXPECT_TRUE(first.reachedAfter);
    EXPECT_EQ(ticks, 5000u);
    EXPECT_TRUE(getTickCount.binding().bound());
    EXPECT_EQ(getTickCount.binding().module, kernel32());
    EXPECT_EQ(platform::LibraryReferenceCount(kernel32()), referencesBefore + 1);

    // The binder (and with it LoadLibraryW) is not reached again.
    clock.advance(250);
    CallDeclared([&](ProcedureFrame& f, DllCallSites sites) { ticks = getTickCount(f, sites); });
    EXPECT_EQ(ticks, 5250u);
    EXPECT_EQ(platform::LibraryReferenceCount(kernel32()), referencesBefore + 1);
  });
}

TEST(DeclaredProcedure, ApplicationsTimingDeclarations) {
  OnFreshThread([] {
    platform::ScopedVirtualClock clock(100);
    DWORD before = 0;
    DWORD after = 0;
    Outcome outcome = CallDeclared([&](ProcedureFrame& f, DllCallSites sites) {
      before = kernel32::GetTickCount(f, sites);
      kernel32::Sleep(f, sites, 40);
      after = kernel32::GetTickCount(f, sites);
    });
    EXPECT_TRUE(outcome.reachedAfter);
    EXPECT_EQ(after - before, 40u);
  });
}

TEST(DeclaredProcedure, MissingLibraryFailsOnEveryCallAndIsLoadedAgainEachTime) {
  OnFreshThread([] {
    static DeclaredProcedure<LONG(LONG)> answer{u"skiffwire_latecomer", "Answer"};
    auto call = [&](LONG* result) {
      return CallDeclared(
          [&](ProcedureFrame& f, DllCallSites sites) { *result = answer(f, sites, 6); });
    };
    LONG result = -1;
    for (int attempt = 0; attempt < 2; ++attempt) {
      Outcome outcome = call(&result);
      EXPECT_TRUE(outcome.handled);
      EXPECT_EQ(outcome.number, -353703418);
      EXPECT_EQ(outcome.description, u"Unable to load DLL");
      EXPECT_EQ(outcome.bindingFailedFlag, 0u);  // cleared by the dispatcher
      EXPECT_TRUE(outcome.reachedAfter);         // the handler's Resume Next
      EXPECT_EQ(result, -1);                     // the raise abandoned the assignment
      EXPECT_FALSE(answer.binding().bound());
      EXPECT_EQ(answer.binding().module, nullptr);
    }
    // Once the library exists, the next call loads it.
    static LONG (*const times7)(LONG) = [](LONG x) -> LONG { return x * 7; };
    platform::RegisterExports("skiffwire_latecomer", {platform::Export("Answer", times7)});
    Outcome outcome = call(&result);
    EXPECT_FALSE(outcome.handled);
    EXPECT_EQ(result, 42);
  });
}

TEST(DeclaredProcedure, MisspelledEntryPointLeavesNoLibraryReference) {
  OnFreshThread([] {
    static DeclaredProcedure<DWORD()> misspelled{u"kernel32", "GetTickCont"};
    const int referencesBefore = platform::LibraryReferenceCount(kernel32());
    Outcome outcome =
        CallDeclared([&](ProcedureFrame& f, DllCallSites sites) { misspelled(f, sites); });
    EXPECT_TRUE(outcome.handled);
    EXPECT_EQ(outcome.number, -353703418);
    EXPECT_EQ(outcome.description, u"Unable to find DLL entry point");
    EXPECT_EQ(platform::LibraryReferenceCount(kernel32()), referencesBefore);
    EXPECT_EQ(misspelled.binding().module, nullptr);
    EXPECT_FALSE(misspelled.binding().bound());
  });
}

int g_calls = 0;
LONG CountedCall(LONG value) {
  ++g_calls;
  return value;
}

TEST(DeclaredProcedure, WrongArgumentListIsCaughtWithoutCallingTheFunction) {
  platform::RegisterExports("skiffwire_counted", {platform::Export("CountedCall", &CountedCall)});
  OnFreshThread([] {
    static DeclaredProcedure<LONG(LONG, LONG)> oneTooMany{u"skiffwire_counted", "CountedCall"};
    static DeclaredProcedure<LONG()> oneTooFew{u"skiffwire_counted", "CountedCall"};
    static DeclaredProcedure<DWORD(LONG)> tickCountWithAnArgument{u"kernel32", "GetTickCount"};
    static DeclaredProcedure<LONG(LONG)> matching{u"skiffwire_counted", "CountedCall"};
    g_calls = 0;
    const Outcome outcomes[] = {
        CallDeclared([&](ProcedureFrame& f, DllCallSites s) { oneTooMany(f, s, 1, 2); }),
        CallDeclared([&](ProcedureFrame& f, DllCallSites s) { oneTooFew(f, s); }),
        CallDeclared([&](ProcedureFrame& f, DllCallSites s) { tickCountWithAnArgument(f, s, 1); }),
    };
    for (const Outcome& outcome : outcomes) {
      EXPECT_TRUE(outcome.handled);
      EXPECT_EQ(outcome.number, -353703419);
      EXPECT_EQ(outcome.description, u"Bad DLL definition.  Stack corruption detected.");
      EXPECT_TRUE(outcome.reachedAfter);  // the frame and its handler stay usable
    }
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(oneTooMany.kArgumentBytes, 8);

    LONG echoed = 0;
    Outcome outcome =
        CallDeclared([&](ProcedureFrame& f, DllCallSites s) { echoed = matching(f, s, 9); });
    EXPECT_FALSE(outcome.handled);
    EXPECT_EQ(echoed, 9);
    EXPECT_EQ(g_calls, 1);
  });
}

TEST(DeclaredProcedure, CallSiteStoresTheLastErrorWhenAsked) {
  OnFreshThread([] {
    static DeclaredProcedure<void(DWORD)> setLastError{u"kernel32", "SetLastError"};
    CallDeclared([&](ProcedureFrame& f, DllCallSites sites) { setLastError(f, sites, 1234); });
    EXPECT_EQ(CurrentErrorContext().error.lastDllError, 0u);
    CallDeclared([&](ProcedureFrame& f, DllCallSites sites) {
      sites.captureLastError = true;
      setLastError(f, sites, ERROR_FILE_NOT_FOUND);
    });
    EXPECT_EQ(CurrentErrorContext().error.lastDllError, ERROR_FILE_NOT_FOUND);
  });
}

TEST(DeclaredProcedure, UnhandledBindingFailureIsTheCallersError) {
  OnFreshThread([] {
    static DeclaredProcedure<DWORD()> missing{u"skiffwire_absent.dll", "Nothing"};
    static const ProcedureDescriptor kDescriptor = DescribeProcedure(
        "NoHandler", ReturnKind::Status, {DllBindingFailedSite(0), DllStackMismatchSite(0)});
    ProcedureFrame frame(kDescriptor);
    const HRESULT hr = frame.run([&](StatementIndex) -> Next {
      missing(frame, {0, 1});
      return Exit;
    });
    EXPECT_EQ(hr, StatusErrorAlreadySet);
    EXPECT_EQ(CurrentErrorContext().error.description.view(), u"Unable to load DLL");
  });
}

}  // namespace
}  // namespace rt

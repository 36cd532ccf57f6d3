// The error model end to end: procedures written in the embedding, raising at
// their sites, with handlers, Resume Next, unwinding and the fatal report.
#include <gtest/gtest.h>

#include <string>

#include "ErrorModelTestSupport.h"
#include "platform/dialogs.h"
#include "platform/user.h"
#include "runtime/core/Forwarding.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/core/UnhandledErrorReport.h"

namespace rt {
namespace {

using testing::OnFreshThread;

HRESULT Fails(HRESULT status) {
  return status;
}

std::u16string Description() {
  return std::u16string(CurrentErrorContext().error.description.view());
}
LONG Number() {
  return CurrentErrorContext().error.number;
}

// ---------------------------------------------------------------------------
// Sample procedures
// ---------------------------------------------------------------------------

// Opens a file that is missing; its handler tells the user and returns.
struct LoadWithHandler {
  enum Stmt : StatementIndex { kTrap, kOpen, kDone, kHandler };
  enum Sites : SiteIndex { kSiteOpen, kSiteBox };
  inline static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "LoadWithHandler", ReturnKind::Status, {Site::Call(kOpen), Site::Call(kHandler)});

  intptr_t resumeAddressInHandler = 0;
  bool reachedDone = false;

  HRESULT operator()() {
    ProcedureFrame frame(kDescriptor);
    return frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorGoTo(kHandler);
          return Step;
        case kOpen:
          frame.check(kSiteOpen, Fails(ErrorStatus(err::FileNotFound)));
          return Step;
        case kDone:
          reachedDone = true;
          return Exit;
        case kHandler:
          resumeAddressInHandler = frame.resumeAddress;
          MessageBoxW(nullptr, u"Settings file not found, using defaults...", u"Setting file error",
                      MB_OK);
          return Exit;
      }
      return Exit;
    });
  }
};

TEST(ErrorDispatch, HandlerTakesTheErrorAndShowsAMessage) {
  OnFreshThread([] {
    platform::ScopedMessageBoxPolicy boxes;
    LoadWithHandler load;
    EXPECT_EQ(load(), S_OK);
    EXPECT_FALSE(load.reachedDone);
    EXPECT_EQ(load.resumeAddressInHandler,
              ProcedureDescriptor::kStartAddress + LoadWithHandler::kOpen);
    EXPECT_EQ(Number(), 53);
    EXPECT_EQ(Description(), u"File not found");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, u"Setting file error");
    EXPECT_EQ(CurrentErrorContext().frameHead, nullptr);
  });
}

// A procedure without a handler whose runtime routine fails with error 11:
// the error leaves it as its status.
HRESULT DivideInRoutine() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("DivideInRoutine", ReturnKind::Status, {Site::Call(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    if (s == 0) frame.check(0, Fails(ErrorStatus(err::DivisionByZero)));
    return Exit;
  });
}

// The same with the compiled division's own zero test: its site's fixed
// status leaves the procedure unchanged.
HRESULT DivideWithoutHandler() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("DivideWithoutHandler", ReturnKind::Status, {Site::DivisionByZero(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    if (s == 0) frame.raise(0, S_OK);  // the division's zero test failed
    return Exit;
  });
}

// Calls `callee` in statement 1 under On Error GoTo; records what its handler sees.
struct Caller {
  enum Stmt : StatementIndex { kTrap, kCall, kAfter, kHandler };
  inline static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("Caller", ReturnKind::Status, {Site::ObjectCall(kCall)});

  HRESULT calleeStatus = 0;
  intptr_t resumeAddress = 0;
  LONG number = 0;
  std::u16string description;

  template <typename Callee>
  HRESULT operator()(Callee callee) {
    ProcedureFrame frame(kDescriptor);
    return frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorGoTo(kHandler);
          return Step;
        case kCall:
          calleeStatus = callee();
          frame.check(0, calleeStatus);
          return Step;
        case kAfter:
          return Exit;
        case kHandler:
          resumeAddress = frame.resumeAddress;
          number = Number();
          description = Description();
          return Exit;
      }
      return Exit;
    });
  }
};

TEST(ErrorDispatch, InnerWithoutHandlerReturnsTheStatusToAnOuterHandler) {
  struct Case {
    HRESULT (*inner)();
    HRESULT returned;
  } cases[] = {{DivideInRoutine, static_cast<HRESULT>(0x800A000B)},
               {DivideWithoutHandler, DISP_E_DIVBYZERO}};
  for (const Case& c : cases) {
    OnFreshThread([&] {
      Caller outer;
      EXPECT_EQ(outer(c.inner), S_OK);
      EXPECT_EQ(outer.calleeStatus, c.returned);
      EXPECT_EQ(outer.resumeAddress, ProcedureDescriptor::kStartAddress + Caller::kCall);
      EXPECT_EQ(outer.number, 11);
      EXPECT_EQ(outer.description, u"Division by zero");
    });
  }
}

// Err.Raise with its own description in a procedure without a handler.
HRESULT RaiseCustom() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("RaiseCustom", ReturnKind::Status, {Site::Record(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    frame.raiseError(0, 1001, u"Peer refused the packet", u"Transfer");
    return Exit;
  });
}

// Runs `body` inside an enclosing procedure, so the procedures it calls are
// not the outermost frame.
template <typename Body>
HRESULT Enclosed(Body body) {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("Enclosing", ReturnKind::Status, {});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    body();
    return Exit;
  });
}

TEST(ErrorDispatch, CalleeErrorInformationReachesTheCallerThroughTheShim) {
  OnFreshThread([] {
    Caller outer;
    Enclosed([&] { outer(RaiseCustom); });
    EXPECT_EQ(outer.calleeStatus, ErrorStatus(1001));
    EXPECT_EQ(outer.number, 1001);
    EXPECT_EQ(outer.description, u"Peer refused the packet");
    EXPECT_EQ(CurrentErrorContext().error.source.view(), u"Transfer");
  });
}

TEST(ErrorDispatch, OutermostFrameBuildsTheErrorFromTheStatusAlone) {
  OnFreshThread([] {
    Caller outer;  // outermost: its link word is null
    outer(RaiseCustom);
    EXPECT_EQ(outer.number, 1001);
    EXPECT_EQ(outer.description, u"Application-defined or object-defined error");
  });
}

// A second error while the handler runs leaves the procedure.
HRESULT FailsTwice() {
  enum Stmt : StatementIndex { kTrap, kFirst, kHandler };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "FailsTwice", ReturnKind::Status, {Site::Call(kFirst), Site::Call(kHandler)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kTrap:
        frame.onErrorGoTo(kHandler);
        return Step;
      case kFirst:
        frame.check(0, Fails(ErrorStatus(5)));
        return Step;
      case kHandler:
        frame.check(1, Fails(DISP_E_OVERFLOW));
        return Exit;
    }
    return Exit;
  });
}

TEST(ErrorDispatch, SecondErrorInsideARunningHandlerLeavesTheProcedure) {
  OnFreshThread([] {
    Caller outer;
    outer(FailsTwice);
    EXPECT_EQ(outer.calleeStatus, DISP_E_OVERFLOW);  // the second error's status
    EXPECT_EQ(outer.number, 6);
  });
}

TEST(ErrorDispatch, ResumeNextContinuesAndKeepsTheError) {
  OnFreshThread([] {
    enum Stmt : StatementIndex { kTrap, kSend, kAfter };
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("SendQuietly", ReturnKind::Status, {Site::ObjectCall(kSend)});
    bool reachedAfter = false;
    ProcedureFrame frame(kDescriptor);
    HRESULT hr = frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorResumeNext();
          return Step;
        case kSend:
          frame.check(0, Fails(E_FAIL));  // the socket refused; ignored
          return Step;
        case kAfter:
          reachedAfter = true;
          return Exit;
      }
      return Exit;
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(reachedAfter);
    EXPECT_EQ(Number(), -2147467259);
    EXPECT_EQ(frame.resumeAddress, 0);  // no handler ran
  });
}

TEST(ErrorDispatch, GoToZeroClearsTheErrorAndTheHandler) {
  OnFreshThread([] {
    enum Stmt : StatementIndex { kTrap, kFirst, kReset, kSecond, kAfter };
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("Reset", ReturnKind::Status, {Site::Call(kFirst), Site::Call(kSecond)});
    LONG numberAfterReset = -1;
    bool reachedAfter = false;
    ProcedureFrame frame(kDescriptor);
    HRESULT hr = frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorResumeNext();
          return Step;
        case kFirst:
          frame.check(0, Fails(ErrorStatus(9)));
          return Step;
        case kReset:
          frame.onErrorGoTo0();
          numberAfterReset = Number();
          return Step;
        case kSecond:
          frame.check(1, Fails(DISP_E_TYPEMISMATCH));
          return Step;
        case kAfter:
          reachedAfter = true;
          return Exit;
      }
      return Exit;
    });
    EXPECT_EQ(numberAfterReset, 0);
    EXPECT_EQ(Description(), u"Type mismatch");
    EXPECT_FALSE(reachedAfter);
    // Outermost, status-returning and not fired as an event: back to the caller.
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Number(), 13);
  });
}

TEST(ErrorDispatch, ResumeRetriesTheFailingStatement) {
  OnFreshThread([] {
    enum Stmt : StatementIndex { kTrap, kTry, kDone, kHandler };
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("Retry", ReturnKind::Status, {Site::Call(kTry)});
    int attempts = 0;
    ProcedureFrame frame(kDescriptor);
    HRESULT hr = frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorGoTo(kHandler);
          return Step;
        case kTry:
          ++attempts;
          frame.check(0, attempts < 3 ? ErrorStatus(57) : S_OK);
          return Step;
        case kDone:
          return Exit;
        case kHandler:
          return frame.resume();
      }
      return Exit;
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(attempts, 3);  // the handler took both failures
    EXPECT_EQ(Number(), 0);
  });
}

TEST(ErrorDispatch, StatusesBecomeTheirRunTimeErrors) {
  struct Case {
    HRESULT raised;
    LONG number;
    HRESULT returned;
  } cases[] = {
      // The error object holds the number; the procedure returns a negative
      // status unchanged for its caller to map the same way.
      {DISP_E_TYPEMISMATCH, 13, DISP_E_TYPEMISMATCH},
      {DISP_E_PARAMNOTFOUND, 448, DISP_E_PARAMNOTFOUND},
      {E_INVALIDARG, 5, E_INVALIDARG},
      {E_FAIL, -2147467259, E_FAIL},
      {ErrorStatus(94), 94, ErrorStatus(94)},
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      static const ProcedureDescriptor kDescriptor =
          DescribeProcedure("Convert", ReturnKind::Status, {Site::Call(0)});
      ProcedureFrame frame(kDescriptor);
      HRESULT hr = frame.run([&](StatementIndex) -> Next {
        frame.check(0, c.raised);
        return Exit;
      });
      EXPECT_EQ(hr, c.returned) << std::hex << c.raised;
      EXPECT_EQ(Number(), c.number) << std::hex << c.raised;
    });
  }
}

// A COM object whose method fails, with or without error information, and
// which may refuse to support error information on its interface.
class FailingObject final : public ISupportErrorInfo {
 public:
  explicit FailingObject(bool supports) : supports_(supports) {}
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_ISupportErrorInfo) {
      *ppv = static_cast<ISupportErrorInfo*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return supports_ ? S_OK : S_FALSE; }

  HRESULT Method(bool withInfo) {
    if (withInfo) {
      ComPtr<ICreateErrorInfo> create;
      CreateErrorInfo(&create);
      create->SetDescription(const_cast<LPOLESTR>(u"Address in use"));
      create->SetSource(const_cast<LPOLESTR>(u"UdpSocket"));
      create->SetHelpFile(const_cast<LPOLESTR>(u"socket.hlp"));
      create->SetHelpContext(7);
      ComPtr<IErrorInfo> info;
      create.As(info);
      SetErrorInfo(0, info.Get());
    } else {
      SetErrorInfo(0, nullptr);
    }
    return static_cast<HRESULT>(0x800A2740);  // 10048
  }

 private:
  bool supports_;
};

inline constexpr IID kSocketIid{
    0x248DD892, 0xBB45, 0x11CF, {0x9A, 0xBC, 0x00, 0x80, 0xC7, 0xE7, 0xB7, 0x8D}};

// Calls the object's method at an object-call site, inside an enclosing frame.
void CallObject(FailingObject& object, bool withInfo, bool checkInterface) {
  static const ProcedureDescriptor kPlain =
      DescribeProcedure("Bind", ReturnKind::Status, {Site::ObjectCall(1)});
  static const ProcedureDescriptor kChecked = DescribeProcedure(
      "BindChecked", ReturnKind::Status, {Site::InterfaceCall(1, 1, &kSocketIid)});
  Enclosed([&] {
    ProcedureFrame frame(checkInterface ? kChecked : kPlain);
    frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case 0:
          frame.onErrorResumeNext();
          return Step;
        case 1:
          frame.keepObject(1, &object);
          frame.check(0, object.Method(withInfo));
          return Step;
      }
      return Exit;
    });
  });
}

TEST(ErrorDispatch, ComFailuresUseTheirErrorInformation) {
  OnFreshThread([] {
    FailingObject object(true);
    CallObject(object, true, false);
    const ErrorObject& error = CurrentErrorContext().error;
    EXPECT_EQ(error.number, 10048);
    EXPECT_EQ(error.description.view(), u"Address in use");
    EXPECT_EQ(error.source.view(), u"UdpSocket");
    EXPECT_EQ(error.helpFile.view(), u"socket.hlp");
    EXPECT_EQ(error.helpContext, 7);
  });
}

TEST(ErrorDispatch, ComFailuresWithoutErrorInformationAreAutomationErrors) {
  OnFreshThread([] {
    FailingObject object(true);
    CallObject(object, false, false);
    EXPECT_EQ(Number(), 10048);
    EXPECT_EQ(Description(), u"Automation error");
    EXPECT_EQ(CurrentErrorContext().error.source.get(), nullptr);

    // An object that denies support for the interface: its information is not used.
    FailingObject refusing(false);
    CallObject(refusing, true, true);
    EXPECT_EQ(Description(), u"Automation error");
    FailingObject supporting(true);
    CallObject(supporting, true, true);
    EXPECT_EQ(Description(), u"Address in use");
  });
}

// A value-returning procedure that fails with its own description.
LONG ParsePort() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("ParsePort", ReturnKind::Value, {Site::Record(0)});
  LONG port = 0;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex) -> Next {
    frame.raiseError(0, err::TypeMismatch, u"Port is not a number");
    port = 8888;
    return Exit;
  });
  return port;
}

TEST(ErrorDispatch, ValueReturningFunctionFailsThroughThePendingNumber) {
  OnFreshThread([] {
    enum Stmt : StatementIndex { kTrap, kCall, kAfter, kHandler };
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("Connect", ReturnKind::Status, {Site::PendingNumber(kCall)});
    LONG port = -1;
    LONG seenNumber = 0;
    std::u16string seenDescription;
    ProcedureFrame frame(kDescriptor);
    frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kTrap:
          frame.onErrorGoTo(kHandler);
          return Step;
        case kCall:
          port = ParsePort();
          EXPECT_EQ(CurrentErrorContext().error.pendingNumber, ErrorStatus(13));
          frame.checkPending(0);
          return Step;
        case kAfter:
          return Exit;
        case kHandler:
          seenNumber = Number();
          seenDescription = Description();
          return Exit;
      }
      return Exit;
    });
    EXPECT_EQ(port, 0);
    EXPECT_EQ(seenNumber, 13);
    EXPECT_EQ(seenDescription, u"Port is not a number");  // survives: the numbers match
    EXPECT_EQ(CurrentErrorContext().error.pendingNumber, 0);
  });
}

// ---------------------------------------------------------------------------
// Unhandled errors and the end of the program
// ---------------------------------------------------------------------------

int g_closeAllCalls = 0;
void CountCloseAll(void*) {
  ++g_closeAllCalls;
}

TEST(ErrorDispatch, UnhandledErrorInAnEventIsReportedAndEndsTheProgram) {
  OnFreshThread([] {
    platform::ScopedMessageBoxPolicy boxes;
    g_closeAllCalls = 0;
    CurrentErrorContext().closeAllForms = CountCloseAll;
    HRESULT hr = 0;
    {
      RuntimeInvokeScope firingEvent;
      hr = DivideWithoutHandler();
    }
    EXPECT_EQ(hr, StatusTerminate);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, u"Run-time error '11'\r\n\r\nDivision by zero");
    EXPECT_EQ(boxes.boxes()[0].caption, u"shutdown");
    EXPECT_EQ(boxes.boxes()[0].style, MB_OK | MB_ICONWARNING);
    EXPECT_TRUE(CurrentErrorContext().terminating);
    EXPECT_EQ(g_closeAllCalls, 1);

    // From now on every raise is the end of the program: no handler, no box.
    LoadWithHandler load;
    EXPECT_EQ(load(), StatusTerminate);
    EXPECT_EQ(load.resumeAddressInHandler, 0);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(g_closeAllCalls, 1);
  });
}

TEST(ErrorDispatch, ReportShowsNegativeNumbersWithTheirSign) {
  OnFreshThread([] {
    platform::ScopedMessageBoxPolicy boxes;
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("Fail", ReturnKind::Status, {Site::Call(0)});
    RuntimeInvokeScope firingEvent;
    ProcedureFrame frame(kDescriptor);
    frame.run([&](StatementIndex) -> Next {
      frame.check(0, E_FAIL);
      return Exit;
    });
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, u"Run-time error '-2147467259'\r\n\r\nUnspecified error");
  });
}

TEST(ErrorDispatch, InternalStatusesCarryTheirOwnTexts) {
  struct Case {
    HRESULT status;
    const char16_t* report;
  } cases[] = {
      {StatusDllStackMismatch,
       u"Run-time error '-353703419'\r\n\r\nBad DLL definition.  Stack corruption detected."},
      {StatusNullDelegate,
       u"Run-time error '-353703417'\r\n\r\nBad delegate function pointer (NULL)."},
      {StatusAssertionFailed, u"Run-time error '-353703420'\r\n\r\nAssertion FAILED"},
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      platform::ScopedMessageBoxPolicy boxes;
      static const ProcedureDescriptor kDescriptor =
          DescribeProcedure("Internal", ReturnKind::Status, {Site::Call(0)});
      RuntimeInvokeScope firingEvent;
      ProcedureFrame frame(kDescriptor);
      frame.run([&](StatementIndex) -> Next {
        frame.check(0, c.status);
        return Exit;
      });
      ASSERT_EQ(boxes.boxes().size(), 1u);
      EXPECT_EQ(boxes.boxes()[0].text, c.report);
    });
  }
}

TEST(ErrorDispatch, AssertionsAreReportedEvenUnderAHandler) {
  OnFreshThread([] {
    platform::ScopedMessageBoxPolicy boxes;
    static const ProcedureDescriptor kDescriptor =
        DescribeProcedure("Asserts", ReturnKind::Status, {Site::Fixed(1, StatusAssertionFailed)});
    ProcedureFrame frame(kDescriptor);
    HRESULT hr = frame.run([&](StatementIndex s) -> Next {
      if (s == 0) {
        frame.onErrorResumeNext();
        return Step;
      }
      if (s == 1) frame.raise(0, S_OK);
      return Exit;
    });
    EXPECT_EQ(hr, StatusTerminate);
    EXPECT_EQ(boxes.boxes().size(), 1u);
  });
}

TEST(ErrorDispatch, ShimServesTheCurrentErrorAfterARaise) {
  OnFreshThread([] {
    DivideWithoutHandler();
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    Bstr description;
    EXPECT_EQ(info->GetDescription(description.out()), S_OK);
    EXPECT_EQ(description.view(), u"Division by zero");
    Bstr source;
    EXPECT_EQ(info->GetSource(source.out()), S_OK);
    EXPECT_EQ(source.get(), nullptr);
    void* other = nullptr;
    EXPECT_EQ(info->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  });
}

TEST(ErrorObject, SetFromStatusAndClear) {
  OnFreshThread([] {
    struct Inner {
      HRESULT Method() { return S_OK; }
    };
    Inner* missing = nullptr;
    HRESULT hr = Forward(missing, [](Inner* p) { return p->Method(); });
    EXPECT_EQ(hr, ErrorStatus(91));
    EXPECT_EQ(Number(), 91);
    EXPECT_EQ(Description(), u"Object variable or With block variable not set");
    ComPtr<IErrorInfo> info;
    EXPECT_EQ(GetErrorInfo(0, &info), S_OK);

    CurrentErrorContext().error.pendingNumber = 7;
    CurrentErrorContext().error.lineNumber = 3;
    ClearErrorObject();
    const ErrorObject& error = CurrentErrorContext().error;
    EXPECT_EQ(error.number, 0);
    EXPECT_EQ(error.description.get(), nullptr);
    EXPECT_EQ(error.pendingNumber, 7);  // left as it is
    EXPECT_EQ(error.lineNumber, 3);
  });
}

}  // namespace
}  // namespace rt

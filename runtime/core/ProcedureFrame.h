// Procedure frames: the error model's view of a running procedure, and the
// embedding in which procedures of the runtime and the application are written.
//
// A procedure is a numbered sequence of statements; statement numbers are
// where handlers start, where Resume goes back to and what Resume Next skips.
// Its body is a function of the statement number that runs that statement and
// says how to go on:
//
//   HRESULT Form::LoadSettings() {
//     ProcedureFrame frame(kLoadSettings);     // entry; the destructor is the exit
//     return frame.run([&](StatementIndex s) -> Next {
//       switch (s) {
//         case kTrap:    frame.onErrorGoTo(kHandler); return Step;
//         case kOpen:    frame.check(kSiteOpen, OpenFile(...)); return Step;
//         case kDone:    return Exit;
//         case kHandler: frame.check(kSiteBox, ShowMessage(...)); return Exit;
//       }
//       return Exit;
//     });
//   }
//
// Each point that can fail is a site: `check` (a failing status), `checkObject`
// (a null reference) and `checkPending` (a value-returning callee failed)
// raise there. A raise abandons the rest of the statement, like the original's
// cut of the machine stack back to the frame; what follows is decided by the
// error dispatcher: the frame's handler, the next statement, or the
// procedure's exit with the error as its status for the caller to raise.
//
// Frames live on the C++ stack and form the thread's chain innermost first; a
// frame must be destroyed on the thread that created it, in reverse order.
#pragma once

#include <string_view>

#include "platform/oleauto.h"
#include "runtime/core/ProcedureDescriptor.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {

// How a statement hands over: to the next statement, to a label, or out.
struct Next {
  enum class Kind : uint8_t { Step, GoTo, Exit };
  Kind kind;
  StatementIndex target;
};
inline constexpr Next Step{Next::Kind::Step, 0};
inline constexpr Next Exit{Next::Kind::Exit, 0};
constexpr Next GoTo(StatementIndex label) {
  return {Next::Kind::GoTo, label};
}

// Err.Raise's parts, kept in the frame until the dispatcher takes them over.
struct RaiseRecord {
  Bstr source;
  Bstr description;
  Bstr helpFile;
  LONG helpContext = 0;
  // Called with the record before use, when set.
  void (*fill)(RaiseRecord*) = nullptr;
  LONG number = 0;
};

namespace internal {
// Thrown by a raise and caught by the frame's own run loop only: it never
// leaves the procedure that raised it.
struct SiteRaised {};
}  // namespace internal

class ProcedureFrame {
 public:
  // The handler values besides a label address.
  static constexpr intptr_t kNoHandler = 0;
  static constexpr intptr_t kResumeNextHandler = -1;
  // Frame slots that hold the object of an interface call (slot 0 is the link).
  static constexpr LONG kObjectSlots = 4;

  // Procedure entry: sets the floating-point environment, takes the next
  // sequence number and becomes the head of the thread's frame chain.
  explicit ProcedureFrame(const ProcedureDescriptor& descriptor);
  // Procedure exit: restores the frame head from the link.
  ~ProcedureFrame();
  ProcedureFrame(const ProcedureFrame&) = delete;
  ProcedureFrame& operator=(const ProcedureFrame&) = delete;

  // Runs the body from statement 0 until a statement exits or an error leaves
  // the procedure. Returns the frame's status; a value-returning procedure
  // also leaves it in the pending-number field.
  template <typename Body>
  HRESULT run(Body&& body);

  // ---- Sites
  void check(SiteIndex site, HRESULT status) {
    if (FAILED(status)) raise(site, status);
  }
  template <typename T>
  T* checkObject(SiteIndex site, T* object) {
    if (!object) raise(site, S_OK);  // the site's fixed status says which error
    return object;
  }
  // After a call to a value-returning procedure.
  void checkPending(SiteIndex site);
  [[noreturn]] void raise(SiteIndex site, HRESULT status);
  // Err.Raise: raises at a raise-from-record site.
  [[noreturn]] void raiseError(SiteIndex site, LONG number, std::u16string_view description = {},
                               std::u16string_view source = {});
  // Keeps the object of an interface call in a frame slot (1 to 3) for the
  // site's error-information check.
  void keepObject(LONG slot, IUnknown* object);

  // ---- Statements that work on the frame
  void onErrorGoTo(StatementIndex label);
  void onErrorResumeNext();
  void onErrorGoTo0();
  // Resume and Resume Next, inside a running handler.
  Next resume();
  Next resumeNext();

  // ---- Header and runtime area (read by the dispatcher)
  ProcedureFrame* link() const { return link_; }
  const ProcedureDescriptor& descriptor() const { return *descriptor_; }
  uint32_t sequence() const { return sequence_; }
  HRESULT status = S_OK;
  intptr_t handler = kNoHandler;
  // Address of the failing statement; non-zero while the handler runs.
  intptr_t resumeAddress = 0;
  intptr_t resumeNextAddress = 0;
  RaiseRecord raiseRecord;

  // The word a site's object slot names: slot 0 is the link word.
  const void* slotWord(LONG slot) const;
  IUnknown* slotObject(LONG slot) const;

  // The statement running now.
  StatementIndex currentStatement() const { return current_; }

 private:
  HRESULT exitStatus();

  ProcedureFrame* link_;
  const ProcedureDescriptor* descriptor_;
  uint32_t sequence_;
  IUnknown* objects_[kObjectSlots] = {};
  StatementIndex current_ = 0;
};

// Where execution goes after a raise.
struct Continuation {
  enum class Kind : uint8_t { Statement, Unwind };
  Kind kind;
  StatementIndex statement;
};

// Builds the error object, picks the continuation for the failing (innermost)
// frame and prepares that frame for it.
Continuation DispatchError();

template <typename Body>
HRESULT ProcedureFrame::run(Body&& body) {
  StatementIndex pc = 0;
  for (;;) {
    try {
      for (;;) {
        current_ = pc;
        const Next next = body(pc);
        if (next.kind == Next::Kind::Exit) return exitStatus();
        pc = next.kind == Next::Kind::Step ? pc + 1 : next.target;
      }
    } catch (const internal::SiteRaised&) {
      const Continuation c = DispatchError();
      if (c.kind == Continuation::Kind::Unwind) return exitStatus();
      pc = c.statement;
    }
  }
}

}  // namespace rt

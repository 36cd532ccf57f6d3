// The constant record of one procedure: its name, how it returns, and its
// packed site table. Procedures declare theirs once, next to their code:
//
//   enum Stmt : StatementIndex { kOpen, kRead, kClose, kHandler };
//   enum Site : SiteIndex { kSiteOpen, kSiteRead };
//   const ProcedureDescriptor kLoad = DescribeProcedure("Load", ReturnKind::Status, {
//       Site::Call(kOpen),          // kSiteOpen: a runtime routine's status
//       Site::ObjectCall(kRead),    // kSiteRead: a method of an object
//   });
//
// Sites are numbered in the order listed; each names the statement it belongs
// to, which is where Resume goes back to and Resume Next goes past.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "runtime/core/SiteTableBuilder.h"
#include "runtime/core/Status.h"

namespace rt {

// A statement's position in its procedure: the unit of resumption.
using StatementIndex = uint32_t;
// A raise site's number within its procedure (the byte the raise entry takes).
using SiteIndex = uint8_t;

enum class ReturnKind : uint8_t {
  // Returns a value; failure travels in the error object's pending number.
  Value = 0,
  // Returns its status to the caller.
  Status = 1,
};

// How each kind of site is described.
namespace Site {
// A runtime routine or system function: the site takes the routine's status.
SiteRecord Call(StatementIndex statement);
// A method called through an object's interface, or another procedure: the
// error information the callee left is used.
SiteRecord ObjectCall(StatementIndex statement);
// As ObjectCall, for a call whose object the frame keeps in `slot` (1 to 3),
// asking the object whether `iid` supports error information.
SiteRecord InterfaceCall(StatementIndex statement, LONG slot, const IID* iid);
// A null object reference: error 91.
SiteRecord NullObject(StatementIndex statement);
// A value-returning procedure left a number in the pending-number field.
SiteRecord PendingNumber(StatementIndex statement);
// An arithmetic overflow (error 6) and a division by zero (error 11).
SiteRecord Overflow(StatementIndex statement);
SiteRecord DivisionByZero(StatementIndex statement);
// Err.Raise: the error comes from the frame's raise record.
SiteRecord Record(StatementIndex statement);
// Any fixed status.
SiteRecord Fixed(StatementIndex statement, HRESULT status);
// A site that also records a line value for the error object.
SiteRecord WithLine(SiteRecord site, LONG lineValue);
}  // namespace Site

struct ProcedureDescriptor {
  const char* name = "";
  ReturnKind returnKind = ReturnKind::Status;
  // Empty for a procedure that cannot fail.
  std::vector<uint8_t> siteTable;

  // Statement s lives at address kStartAddress + s, so that 0 keeps meaning
  // "none" in the frame's resume fields.
  static constexpr intptr_t kStartAddress = 1;
};

ProcedureDescriptor DescribeProcedure(const char* name, ReturnKind kind,
                                      std::initializer_list<SiteRecord> sites);

}  // namespace rt

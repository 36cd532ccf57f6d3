// Status values of the error model.
//
// Run-time error n travels as the status 0x800A0000 + n. Seven internal
// statuses steer the error dispatcher; their values are fixed because they
// appear in site tables and, as numbers, in the error object and the report.
#pragma once

#include "platform/types.h"

namespace rt {

// The status of run-time error n (1 to 65535).
constexpr HRESULT ErrorStatus(int number) {
  return static_cast<HRESULT>(0x800A0000u | (static_cast<uint32_t>(number) & 0xFFFF));
}

// The error object already holds the error; use its number.
inline constexpr HRESULT StatusFromErrorObject = static_cast<HRESULT>(0xEAEAEA01);
// A value-returning callee left a number in the pending-number field.
inline constexpr HRESULT StatusPendingNumber = static_cast<HRESULT>(0xEAEAEA02);
// The program is ending; unwind everything.
inline constexpr HRESULT StatusTerminate = static_cast<HRESULT>(0xEAEAEA03);
// An assertion failed; always reported, never handled.
inline constexpr HRESULT StatusAssertionFailed = static_cast<HRESULT>(0xEAEAEA04);
// The stack after a declared-procedure call differs from the frame.
inline constexpr HRESULT StatusDllStackMismatch = static_cast<HRESULT>(0xEAEAEA05);
// The raiser has filled the error object itself; leave it unchanged.
inline constexpr HRESULT StatusErrorAlreadySet = static_cast<HRESULT>(0xEAEAEA06);
// A call through a null delegate pointer.
inline constexpr HRESULT StatusNullDelegate = static_cast<HRESULT>(0xEAEAEA07);

// Run-time errors the runtime raises by number.
namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int OutOfStringSpace = 14;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectRequired = 424;
inline constexpr int AutomationError = 440;
}  // namespace err

}  // namespace rt

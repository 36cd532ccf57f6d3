// The thread's error object (the language's Err) and the operations that fill
// and clear it.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Owns its strings; a getter hands out copies.
struct ErrorObject {
  // Written by value-returning procedures that fail; 0 when none.
  LONG pendingNumber = 0;
  LONG number = 0;
  Bstr description;
  Bstr helpFile;
  Bstr source;
  LONG helpContext = 0;
  // The system error code stored right after a declared-procedure call.
  DWORD lastDllError = 0;
  // From the failing site; -1 when the site has none.
  LONG lineNumber = 0;
};

// Replaces the error object's contents from a status and optional strings.
// A null description becomes the number's table text (or the application-
// defined text for a non-negative number without one), else the system's
// text, else the application-defined text. With takeOwnership the given
// strings become the object's own; otherwise they are copied.
void FillErrorObject(ErrorObject& error, HRESULT status, BSTR source, BSTR description,
                     BSTR helpFile, LONG helpContext, LONG lineValue, bool takeOwnership);

// For native runtime routines that fail with a numbered error: fills the
// thread's error object from the status alone, registers the error
// information and returns the status for the caller to raise.
HRESULT SetErrorFromStatus(HRESULT status);

// Err.Clear: number, help context and last DLL error to 0, strings freed.
// The pending number and the line number stay.
void ClearErrorObject();

}  // namespace rt

// Mapping between statuses and run-time error numbers, and the texts of numbers.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// The error number of a status: well-known dispatch and argument statuses map
// to their run-time errors, 0x800Axxxx gives xxxx, anything else stays as it
// is (so foreign statuses show as large negative numbers). With messageText,
// also delivers the table text of the number (a pointer into the table); when
// the number has none, "Application-defined or object-defined error" if the
// status was non-negative or useDefaultText is set, and null otherwise.
int MapStatusToNumber(HRESULT status, const char16_t** messageText = nullptr,
                      bool useDefaultText = false);

// The number as the error object stores it: the low 16 bits while the value
// still carries facility 10, else the value itself.
int StoredNumber(int mapped);

// The operating system's text for a status, without a trailing CR LF; null
// when the system has none.
Bstr SystemMessageText(HRESULT status);

// The description of a number when the raiser gave none: the table text, else
// the system's text for a negative number, else the application-defined text.
Bstr DefaultDescription(int number);

}  // namespace rt

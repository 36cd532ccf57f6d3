// The run-time error messages, by number (0 to 746).
#pragma once

#include "platform/types.h"

namespace rt {

inline constexpr int kErrorMessageCount = 747;

inline constexpr char16_t kApplicationDefinedError[] =
    u"Application-defined or object-defined error";
inline constexpr char16_t kAutomationErrorText[] = u"Automation error";

// Builds the table from its packed source, converting each message with the
// ANSI code page. Start-up step; idempotent; always returns 0.
HRESULT BuildErrorMessageTable();

// The message of a number, or null outside 1 to 746 and for gaps. Builds the
// table on first use if start-up has not.
const char16_t* ErrorMessage(int number);

}  // namespace rt

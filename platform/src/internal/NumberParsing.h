// Text to number through VarParseNumFromStr and VarNumFromParseNum, the way
// the VarXxxFromStr conversions use them.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// Parses the whole text (NUMPRS_STD: spaces, signs, separators, currency,
// exponent, &H and &O) under lcid and stores the value in the first type of
// vtBits (VTBIT_*) that holds it. DISP_E_TYPEMISMATCH for text that is not a
// number, DISP_E_OVERFLOW for a number no allowed type holds.
HRESULT NumberFromText(LPCOLESTR text, LCID lcid, ULONG flags, ULONG vtBits, VARIANT* out);

// White space as the number parser skips it (also used for trimming texts).
bool IsParserWhiteSpace(char16_t c);

}  // namespace platform::internal

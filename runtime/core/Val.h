// Val: the number at the start of a text, read with fixed rules that do not
// depend on the user's locale (the full stop is the decimal point), as a
// double.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Reads the leading number of text, ignoring every space, tab, carriage
// return, line feed and ideographic space wherever they stand ("1 2 3" reads
// as 123). Text that holds no number gives 0 and success. "&H" and "&O"
// numbers from 32768 to 65535 read as 16-bit integers ("&HFFFF" is -1)
// unless a type suffix !, &, # or @ follows ("&HFFFF&" is 65535). Fails with
// the conversion's status when the number does not fit a double, and with
// DISP_E_TYPEMISMATCH (run-time error 13) for a number with a fraction or an
// exponent followed by the integer suffix % or &.
HRESULT ValOfText(BSTR text, DOUBLE* value);

}  // namespace rt

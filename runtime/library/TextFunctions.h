// Asc, Left, Right and Mid. Lengths, counts and positions are in UTF-16 code
// units; a null BSTR is the empty text. Results go to the out-parameter named
// last, which is written without freeing what it held.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// The code of the text's first character in the ANSI code page: a single
// byte as it is, a double-byte character with its lead byte low. An empty
// text fails with E_INVALIDARG (run-time error 5).
HRESULT Asc(BSTR text, SHORT* code);

// The first count characters, or the whole text when count reaches its
// length. A negative count or one above 0x3FFFFFFF fails with E_INVALIDARG.
HRESULT Left(BSTR text, LONG count, BSTR* result);

// The last count characters of value as text (VT_BSTR), Null for Null.
// Counts as for Left; value is normalised like every variant argument and
// converted to text with VARIANT_ALPHABOOL.
HRESULT Right(const VARIANT& value, LONG count, VARIANT* result);

// length characters from the 1-based position start, cut to what the text
// holds (the empty text when start lies beyond its end). A missing length
// means the rest of the text; a given one is converted to a 32-bit integer.
// start - 1 and length must lie in 0 to 0x3FFFFFFF, else E_INVALIDARG; a
// Null length fails with run-time error 94.
HRESULT Mid(BSTR text, LONG start, const VARIANT& length, BSTR* result);

}  // namespace rt

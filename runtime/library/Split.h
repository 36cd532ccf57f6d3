// Split: cuts a text at a delimiter into an array of texts.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Compare modes besides a locale identifier.
inline constexpr LONG kBinaryCompare = 0;
inline constexpr LONG kTextCompare = 1;

// Splits text at every match of delimiter, left to right, into a VT_ARRAY of
// VT_BSTR with lower bound 0. A missing delimiter is one space. limit is the
// greatest number of pieces, -1 for all: once limit - 1 pieces are found the
// rest of the text, delimiters included, is the last piece. compare is
// kBinaryCompare (code units), kTextCompare (the user's locale, ignoring
// case, kana type and width) or a locale identifier used the same way.
// An empty text, or a limit of 0, gives an array with no elements (bounds 0
// to -1); an empty delimiter gives the whole text as the only element.
// Fails with E_INVALIDARG for a limit below -1 or an unknown locale, with
// run-time error 94 for a Null delimiter and 91 for a null object. *result
// is an out-parameter: its previous contents are not freed.
HRESULT Split(BSTR text, const VARIANT& delimiter, LONG limit, LONG compare, VARIANT* result);

}  // namespace rt

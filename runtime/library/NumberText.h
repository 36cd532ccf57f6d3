// Numbers as text: Str, Hex and Format. Results go to the out-parameter named
// last, which is written without freeing what it held.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// The value as text with a full stop for a decimal point whatever the locale,
// and a leading space for a number that is not negative: " 5", "-5", " 2.5",
// " 0" for Empty. Dates and Booleans read as the locale writes them ("True").
// A text is read as a number first (a text that is none fails with type
// mismatch); Null fails with run-time error 94.
HRESULT Str(const VARIANT& value, BSTR* result);

// The value rounded to an integer in upper-case hexadecimal. A negative value
// is written in two's complement with 4 digits for a 16-bit integer, 8 for a
// 32-bit integer and 16 for every other type. HexText fails with run-time
// error 94 for Null; HexVariant gives Null for it and the text as VT_BSTR
// otherwise.
HRESULT HexText(const VARIANT& value, BSTR* result);
HRESULT HexVariant(const VARIANT& value, VARIANT* result);

// The value through the platform's VarFormat with the format text (a missing
// format is the empty text) and flags 0. A first day of week or first week of
// year of 0 is taken from the locale values. Null gives the empty text; a
// Null format fails with run-time error 94.
HRESULT Format(const VARIANT& value, const VARIANT& format, int firstDayOfWeek, int firstWeekOfYear,
               BSTR* result);

}  // namespace rt

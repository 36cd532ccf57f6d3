// Small value conversions the compiled procedures make inline: a Long in
// decimal (an implicit conversion to String), a Byte as a variant, and the
// numeric reading of a text box through Val.
#pragma once

#include <string>

#include "platform/oleauto.h"

namespace skiffwire::internal {

// The number as an implicit conversion to String writes it ("9", "-1").
std::u16string LongText(LONG value);

VARIANT ByteVariant(BYTE value);

// Val(text) rounded to a 32-bit integer, ties to even, as CLng(Val(text)):
// fails with run-time error 6 beyond the 32-bit range.
HRESULT RoundedVal(BSTR text, LONG* value);

}  // namespace skiffwire::internal

// Conversions of a variant to a 32-bit integer and to a double, as the
// language's numeric assignments and CLng/CDbl make them.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// VariantChangeTypeEx under the user's locale with the caller's flags, after
// the value is normalised. A double rounds half to even; a value outside the
// 32-bit range fails with DISP_E_OVERFLOW (run-time error 6), one that is no
// number with DISP_E_TYPEMISMATCH (13) and Null with run-time error 94.
HRESULT ToLong(const VARIANT& value, USHORT flags, LONG* result);
HRESULT ToDouble(const VARIANT& value, USHORT flags, DOUBLE* result);

}  // namespace rt

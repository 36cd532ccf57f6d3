// Reading the VARIANT arguments of library routines: references followed,
// objects replaced by their default value.
#pragma once

#include "platform/oleauto.h"

namespace rt::internal {

// A missing optional argument (VT_ERROR with DISP_E_PARAMNOTFOUND), also by
// reference; a null argument pointer counts as missing.
bool IsMissingArgument(const VARIANT* argument);

// VT_DISPATCH or VT_UNKNOWN, after references are followed.
bool IsObject(const VARIANT& value);
// An object argument whose reference is null.
bool IsNullObject(const VARIANT& value);

// The value with references followed (VariantCopyInd).
HRESULT DirectValue(const VARIANT& argument, Variant* value);

// An object's default value: IDispatch::Invoke with DISPID 0, IID_NULL,
// locale 0 and `invokeFlags`, no arguments; references in the result are
// followed. Fails for a null object and an object without IDispatch.
HRESULT DefaultValueOf(const VARIANT& object, WORD invokeFlags, Variant* value);

}  // namespace rt::internal

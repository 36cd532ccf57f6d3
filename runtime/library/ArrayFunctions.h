// UBound: the upper bound of one dimension of an array.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// The dimension's lower bound plus its element count minus one (-1 for an
// empty dimension from 0); dimension counts from 1. A value that is no array
// fails with DISP_E_TYPEMISMATCH (run-time error 13), a null array with
// run-time error 9 and a dimension the array lacks with E_FAIL.
HRESULT UBound(const VARIANT& array, LONG dimension, LONG* result);

}  // namespace rt

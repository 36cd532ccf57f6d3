// VarCmp: the comparison of two variants.
//
// Null on either side gives VARCMP_NULL. Two texts compare through
// VarBstrCmp. Numbers of any types compare by value. A text against a number
// is read as a number under the locale when it is one; a text that is not a
// number is greater than every number. Empty is 0 against a number and the
// empty text against a text.
#include "internal/NumberParsing.h"
#include "internal/NumericValue.h"
#include "internal/VariantType.h"
#include "platform/oleauto.h"

namespace {

using platform::internal::NumericValue;

HRESULT FromOrder(int order) {
  return order < 0 ? VARCMP_LT : (order > 0 ? VARCMP_GT : VARCMP_EQ);
}

// The number a text holds under the locale; false when it holds none.
bool NumberOfText(BSTR text, LCID lcid, NumericValue* out) {
  Variant parsed;
  // Integers stay exact; anything else is read as a double.
  if (FAILED(platform::internal::NumberFromText(text ? text : u"", lcid, 0,
                                                VTBIT_I8 | VTBIT_UI8 | VTBIT_R8, &parsed))) {
    return false;
  }
  return NumericValue::Read(parsed, out);
}

// A text against a number: -1, 0 or 1 from the text's point of view.
int CompareTextWithNumber(BSTR text, const NumericValue& number, LCID lcid) {
  NumericValue value;
  if (!NumberOfText(text, lcid, &value)) return 1;
  return value.Compare(number);
}

HRESULT CompareValues(const VARIANT& left, const VARIANT& right, LCID lcid, ULONG flags) {
  if (left.vt == VT_NULL || right.vt == VT_NULL) return VARCMP_NULL;
  const bool leftText = left.vt == VT_BSTR;
  const bool rightText = right.vt == VT_BSTR;
  if (leftText && rightText) return VarBstrCmp(left.bstrVal, right.bstrVal, lcid, flags);
  if (leftText && right.vt == VT_EMPTY) return VarBstrCmp(left.bstrVal, nullptr, lcid, flags);
  if (rightText && left.vt == VT_EMPTY) return VarBstrCmp(nullptr, right.bstrVal, lcid, flags);

  NumericValue leftNumber;
  NumericValue rightNumber;
  const bool leftNumeric = NumericValue::Read(left, &leftNumber);
  const bool rightNumeric = NumericValue::Read(right, &rightNumber);
  if (leftText && rightNumeric) {
    return FromOrder(CompareTextWithNumber(left.bstrVal, rightNumber, lcid));
  }
  if (rightText && leftNumeric) {
    return FromOrder(-CompareTextWithNumber(right.bstrVal, leftNumber, lcid));
  }
  if (leftNumeric && rightNumeric) return FromOrder(leftNumber.Compare(rightNumber));
  // Objects, arrays, error values and the other types have no order.
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT VarCmp(LPVARIANT left, LPVARIANT right, LCID lcid, ULONG flags) {
  if (!left || !right) return E_INVALIDARG;
  if (!platform::internal::IsValidVariantType(left->vt) ||
      !platform::internal::IsValidVariantType(right->vt)) {
    return DISP_E_BADVARTYPE;
  }
  // References compare as the values they point to.
  Variant leftValue;
  Variant rightValue;
  HRESULT hr = VariantCopyInd(&leftValue, left);
  if (SUCCEEDED(hr)) hr = VariantCopyInd(&rightValue, right);
  if (FAILED(hr)) return hr == E_INVALIDARG ? DISP_E_TYPEMISMATCH : hr;
  return CompareValues(leftValue, rightValue, lcid, flags);
}

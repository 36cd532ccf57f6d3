// VarCmp: the comparison of two variants.
//
// Null on either side gives VARCMP_NULL. Two texts compare through
// VarBstrCmp; Empty against a text is the empty text. Numbers of any types
// (Empty being 0) compare by value. A text against a number is greater,
// whatever it holds, unless the caller marks a side with VT_RESERVED, the
// mark of a typed operand:
// - a marked text meets an unmarked number: the number becomes text and the
//   two texts compare;
// - a marked number meets an unmarked text: the text is read as a number
//   under the locale, and is greater when it is none;
// - both sides marked: the text is greater.
// Two error values compare by their codes.
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
  // Integers stay exact, as do decimals within 96 bits; the rest is a double.
  if (FAILED(platform::internal::NumberFromText(
          text ? text : u"", lcid, 0, VTBIT_I8 | VTBIT_UI8 | VTBIT_DECIMAL | VTBIT_R8, &parsed))) {
    return false;
  }
  return NumericValue::Read(parsed, out);
}

// One side as the caller passed it: the value and whether it carries the mark.
struct Side {
  const VARIANT& value;
  bool marked;
};

// A text (left) against a number (right), from the text's point of view.
HRESULT CompareTextWithNumber(const Side& text, const Side& number, LCID lcid, ULONG flags) {
  if (text.marked && !number.marked) {
    Variant numberText;
    const HRESULT hr = VariantChangeTypeEx(&numberText, &number.value, lcid, 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    return VarBstrCmp(text.value.bstrVal, numberText.bstrVal, lcid, flags);
  }
  if (number.marked && !text.marked) {
    NumericValue textNumber;
    NumericValue numberValue;
    if (!NumberOfText(text.value.bstrVal, lcid, &textNumber) ||
        !NumericValue::Read(number.value, &numberValue)) {
      return VARCMP_GT;
    }
    return FromOrder(textNumber.Compare(numberValue));
  }
  return VARCMP_GT;
}

HRESULT Mirror(HRESULT outcome) {
  if (outcome == VARCMP_LT) return VARCMP_GT;
  if (outcome == VARCMP_GT) return VARCMP_LT;
  return outcome;
}

HRESULT CompareValues(const Side& left, const Side& right, LCID lcid, ULONG flags) {
  const VARIANT& l = left.value;
  const VARIANT& r = right.value;
  if (l.vt == VT_NULL || r.vt == VT_NULL) return VARCMP_NULL;
  const bool leftText = l.vt == VT_BSTR;
  const bool rightText = r.vt == VT_BSTR;
  if (leftText && rightText) return VarBstrCmp(l.bstrVal, r.bstrVal, lcid, flags);
  if (leftText && r.vt == VT_EMPTY) return VarBstrCmp(l.bstrVal, nullptr, lcid, flags);
  if (rightText && l.vt == VT_EMPTY) return VarBstrCmp(nullptr, r.bstrVal, lcid, flags);
  if (l.vt == VT_ERROR && r.vt == VT_ERROR) {
    return l.scode < r.scode ? VARCMP_LT : (l.scode > r.scode ? VARCMP_GT : VARCMP_EQ);
  }

  NumericValue leftNumber;
  NumericValue rightNumber;
  const bool leftNumeric = NumericValue::Read(l, &leftNumber);
  const bool rightNumeric = NumericValue::Read(r, &rightNumber);
  if (leftText && rightNumeric) return CompareTextWithNumber(left, right, lcid, flags);
  if (rightText && leftNumeric) return Mirror(CompareTextWithNumber(right, left, lcid, flags));
  if (leftNumeric && rightNumeric) return FromOrder(leftNumber.Compare(rightNumber));
  // Objects, arrays, an error value against another type and the other
  // types have no order.
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT VarCmp(LPVARIANT left, LPVARIANT right, LCID lcid, ULONG flags) {
  if (!left || !right) return E_INVALIDARG;
  const bool leftMarked = (left->vt & VT_RESERVED) != 0;
  const bool rightMarked = (right->vt & VT_RESERVED) != 0;
  // The mark is read here; the value is compared without it.
  VARIANT leftPlain = *left;
  VARIANT rightPlain = *right;
  leftPlain.vt &= ~VT_RESERVED;
  rightPlain.vt &= ~VT_RESERVED;
  if (!platform::internal::IsValidVariantType(leftPlain.vt) ||
      !platform::internal::IsValidVariantType(rightPlain.vt)) {
    return DISP_E_BADVARTYPE;
  }
  // References compare as the values they point to.
  Variant leftValue;
  Variant rightValue;
  HRESULT hr = VariantCopyInd(&leftValue, &leftPlain);
  if (SUCCEEDED(hr)) hr = VariantCopyInd(&rightValue, &rightPlain);
  if (FAILED(hr)) return hr == E_INVALIDARG ? DISP_E_TYPEMISMATCH : hr;
  return CompareValues({leftValue, leftMarked}, {rightValue, rightMarked}, lcid, flags);
}

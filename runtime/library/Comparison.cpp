#include "runtime/library/Comparison.h"

#include "runtime/library/internal/NormalizedArgument.h"

namespace rt {
namespace {

// NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH.
constexpr ULONG kCompareFlags = 0x30001;

// A writable copy of a normalised side, as VarCmp takes it.
HRESULT ComparableSide(const VARIANT& side, internal::NormalizedArgument& argument, Variant* copy) {
  if (HRESULT hr = argument.normalizeForComparison(side); FAILED(hr)) return hr;
  return VariantCopy(copy, &argument.value());
}

}  // namespace

HRESULT Compare(const VARIANT& left, const VARIANT& right, LCID lcid, DWORD accepted,
                VARIANT* result) {
  VariantInit(result);
  internal::NormalizedArgument leftArgument;
  internal::NormalizedArgument rightArgument;
  Variant leftValue;
  Variant rightValue;
  if (HRESULT hr = ComparableSide(left, leftArgument, &leftValue); FAILED(hr)) return hr;
  if (HRESULT hr = ComparableSide(right, rightArgument, &rightValue); FAILED(hr)) return hr;
  const HRESULT outcome = VarCmp(&leftValue, &rightValue, lcid, kCompareFlags);
  if (FAILED(outcome)) return outcome;
  if (outcome == VARCMP_NULL) {
    result->vt = VT_NULL;
    return S_OK;
  }
  const auto code = static_cast<DWORD>(outcome);
  const bool accept = code == (accepted & 0xFFFF) || code == (accepted >> 16);
  result->vt = VT_BOOL;
  result->boolVal = accept ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace rt

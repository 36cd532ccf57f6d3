// VarBstrCmp: the linguistic comparison of two BSTRs, a null BSTR being the
// empty text.
#include "platform/kernel.h"
#include "platform/oleauto.h"

HRESULT VarBstrCmp(BSTR left, BSTR right, LCID lcid, ULONG flags) {
  const UINT leftLength = SysStringLen(left);
  const UINT rightLength = SysStringLen(right);
  // An empty text sorts before every other text whatever the locale.
  if (leftLength == 0 || rightLength == 0) {
    if (leftLength == rightLength) return VARCMP_EQ;
    return leftLength == 0 ? VARCMP_LT : VARCMP_GT;
  }
  const int order = CompareStringW(lcid, flags, left, static_cast<int>(leftLength), right,
                                   static_cast<int>(rightLength));
  if (order == 0) return E_INVALIDARG;
  return order - CSTR_LESS_THAN + VARCMP_LT;
}

// VarBstrCmp: the comparison of two BSTRs, a null BSTR being the empty text.
//
// Locale 0 compares the bytes of the two texts (their byte lengths, odd ones
// and embedded zero bytes included) and ignores the flags; when one text is a
// prefix of the other, the longer one is greater. Any other locale compares
// linguistically with CompareStringW and the flags, after dropping trailing
// NUL characters, which make no difference there.
#include <algorithm>
#include <cstring>

#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace {

HRESULT CompareBytes(BSTR left, BSTR right) {
  const UINT leftLength = SysStringByteLen(left);
  const UINT rightLength = SysStringByteLen(right);
  const UINT common = std::min(leftLength, rightLength);
  const int order = common == 0 ? 0 : std::memcmp(left, right, common);
  if (order != 0) return order < 0 ? VARCMP_LT : VARCMP_GT;
  if (leftLength == rightLength) return VARCMP_EQ;
  return leftLength < rightLength ? VARCMP_LT : VARCMP_GT;
}

UINT LengthWithoutTrailingNuls(BSTR text) {
  UINT length = SysStringLen(text);
  while (length > 0 && text[length - 1] == u'\0')
    --length;
  return length;
}

}  // namespace

HRESULT VarBstrCmp(BSTR left, BSTR right, LCID lcid, ULONG flags) {
  if (lcid == 0) return CompareBytes(left, right);
  const UINT leftLength = LengthWithoutTrailingNuls(left);
  const UINT rightLength = LengthWithoutTrailingNuls(right);
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

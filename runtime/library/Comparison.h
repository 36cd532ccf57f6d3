// The comparison of two variant values behind the language's comparison
// operators.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Packs the outcomes a comparison accepts (VARCMP_LT, VARCMP_EQ, VARCMP_GT)
// into Compare's fourth argument: equality passes VARCMP_EQ twice,
// less-or-equal VARCMP_LT and VARCMP_EQ.
constexpr DWORD AcceptedOutcomes(HRESULT first, HRESULT second) {
  return (static_cast<DWORD>(second) << 16) | (static_cast<DWORD>(first) & 0xFFFF);
}

// Compares left with right through the platform's VarCmp under lcid,
// ignoring case, kana type and width, and gives a Boolean: True when the
// outcome is one of the two accepted ones. Null when either side is Null.
// Objects are replaced by their default values (a null object fails with
// E_FAIL); a text compared with a number follows VarCmp's rules. *result is
// an out-parameter: its previous contents are not freed.
HRESULT Compare(const VARIANT& left, const VARIANT& right, LCID lcid, DWORD accepted,
                VARIANT* result);

}  // namespace rt

// CompareStringW over the collator, for the locales this platform knows.
#include <string_view>

#include "internal/Collator.h"
#include "internal/LocaleData.h"
#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace {

constexpr DWORD kAcceptedFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS |
                                 NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH | LINGUISTIC_IGNORECASE |
                                 LINGUISTIC_IGNOREDIACRITIC | SORT_STRINGSORT |
                                 NORM_LINGUISTIC_CASING;

std::u16string_view textOf(LPCWSTR text, int length) {
  return length < 0 ? std::u16string_view(text) : std::u16string_view(text, length);
}

int fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int CompareStringW(LCID lcid, DWORD flags, LPCWSTR left, int leftLength, LPCWSTR right,
                   int rightLength) {
  if (flags & ~kAcceptedFlags) return fail(ERROR_INVALID_FLAGS);
  if (!left || !right || leftLength < -1 || rightLength < -1) {
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (!platform::internal::FindLocaleData(lcid)) return fail(ERROR_INVALID_PARAMETER);
  const int order = platform::internal::Collator(flags).Compare(textOf(left, leftLength),
                                                                textOf(right, rightLength));
  if (order < 0) return CSTR_LESS_THAN;
  return order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
}

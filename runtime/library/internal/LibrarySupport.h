// Small pieces shared by the library's operations: the conversion locale and
// flags, views of texts and the delivery of a text result.
#pragma once

#include <string_view>

#include "platform/oleauto.h"

namespace rt::internal {

// Every conversion between types runs under the user's locale.
inline constexpr LCID kConversionLocale = LOCALE_USER_DEFAULT;
// Conversions to numbers take no flags; conversions to text spell Booleans.
inline constexpr USHORT kToNumberFlags = 0;
inline constexpr USHORT kToTextFlags = VARIANT_ALPHABOOL;

// The longest count, start or length an operation accepts.
inline constexpr LONG kMaxCount = 0x3FFFFFFF;

// A null BSTR reads as the empty text.
inline std::u16string_view ViewOf(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

// A missing optional argument: VT_ERROR holding DISP_E_PARAMNOTFOUND.
bool IsMissing(const VARIANT& argument);

// Allocates a copy of text into *out; E_OUTOFMEMORY when that fails.
HRESULT AllocateText(std::u16string_view text, BSTR* out);

}  // namespace rt::internal

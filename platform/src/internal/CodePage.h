// Whole-text conversions behind MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform::internal {

// Bytes of a code page to UTF-16; *invalid is set when a sequence was malformed.
std::u16string DecodeBytes(UINT codePage, std::string_view bytes, bool* invalid);

// UTF-16 to the bytes of a code page; characters the code page lacks become
// defaultChar (and set *usedDefault).
std::string EncodeText(UINT codePage, std::u16string_view text, char defaultChar,
                       bool* usedDefault);

// UTF-7 (RFC 2152), code page 65000.
std::u16string DecodeUtf7(std::string_view bytes, bool* invalid);
std::string EncodeUtf7(std::u16string_view text);

}  // namespace platform::internal

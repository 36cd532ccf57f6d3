// The form of a file name that lifts the usual length limit of paths.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace rt {

// A name starting with two backslashes is a network path and becomes
// \\?\UNC\ and the rest, unresolved; any other name is resolved against the
// current folder and becomes \\?\ and the full path. E_FAIL when the name
// cannot be resolved.
HRESULT LongPathForm(std::u16string_view path, std::u16string* longPath);

}  // namespace rt

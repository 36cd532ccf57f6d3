// MsgBox prompt, vbOKOnly, title: the application's only kind of message box.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace skiffwire::internal {

HRESULT ShowMessage(std::u16string_view prompt, std::u16string_view title);

}  // namespace skiffwire::internal

// The system's message table: the English texts FormatMessageW gives with
// FORMAT_MESSAGE_FROM_SYSTEM.
#pragma once

#include "platform/types.h"

namespace platform::internal {

// The text for a Win32 error code or a status, without the line break that
// ends every system message; null when the system has none. A Win32 code and
// its status form (0x8007xxxx) share one text.
const char16_t* FindSystemMessage(DWORD id);

}  // namespace platform::internal

// The message boxes and waits of the design reader's failures.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace rt::design {

inline constexpr std::u16string_view kInternalErrorCaption = u"Kestrelon Internal Error";

// An OK box owned by no window.
void ShowDesignMessage(std::u16string_view text, std::u16string_view caption);
// The one-second pause after an internal failure (on the platform clock).
void WaitAfterFailure();
// The engine's assertion hook for states that a sound design never reaches.
void RaiseInternalAssertion(const char* what);

}  // namespace rt::design

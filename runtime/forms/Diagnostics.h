// The engine's trace switch and diagnostic hook. Without a hook nothing is
// written anywhere, whatever the switch says.
#pragma once

#include <functional>
#include <string_view>

#include "platform/user.h"

namespace rt {

using DiagnosticHook = std::function<void(std::string_view line)>;

// Installs (or, with an empty function, removes) the hook of this thread.
void SetDiagnosticHook(DiagnosticHook hook);
// Tracing reports window messages and loading checkpoints through the hook.
void SetTraceEnabled(bool on);
bool TraceEnabled();

// Writes a line through the hook, if any.
void Diagnostic(std::string_view line);
// "<label> msg=0x.. wp=0x.. lp=0x.." when tracing.
void TraceMessage(std::string_view label, UINT msg, WPARAM wParam, LPARAM lParam);
void TraceResult(std::string_view label, LRESULT result);
// A loading checkpoint, "EnsureFormIsLoaded(<n>)".
void TraceCheckpoint(std::string_view label, int number);
// A warning on the diagnostic console in the given colour (0xRRGGBB).
void DiagnosticWarning(std::string_view text, uint32_t colour);

}  // namespace rt

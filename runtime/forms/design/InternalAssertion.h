// The hook the forms engine calls when it meets a state a sound design never
// produces (an invalid tag, an empty design slot). Without a hook nothing
// happens beyond the caller's own failure.
#pragma once

namespace rt {

using InternalAssertionHook = void (*)(const char* what);

// Replaces the hook (null removes it); returns the previous one.
InternalAssertionHook SetInternalAssertionHook(InternalAssertionHook hook);

}  // namespace rt

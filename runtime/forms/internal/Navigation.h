// Helpers of the common handler shared between its files.
#pragma once

#include "platform/user.h"

namespace rt {

struct ControlRecord;
struct WindowRecord;

// The next candidate among the siblings of `current` in its container,
// wrapping around, without descending into nested containers.
ControlRecord* NextGroupCandidate(ControlRecord& current, bool backward);
// The visible windowless child of `container` whose rectangle holds the
// point (client pixels of the container's window), or null.
ControlRecord* WindowlessChildAt(ControlRecord& container, POINT point);
// Mouse movement over a window: arms, keeps or moves the bubble.
void FeedBubble(WindowRecord& record, HWND hwnd, LPARAM lParam);
// Forgets a window the engine will destroy itself (no more records for it).
void ForgetWindow(HWND hwnd);

}  // namespace rt

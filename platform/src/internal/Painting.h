// Invalidation and the paint cycle: update regions spread to the children a
// parent paints over, the frame's WM_NCPAINT, and painting now
// (RDW_UPDATENOW, UpdateWindow).
#pragma once

#include "internal/Region.h"
#include "platform/user.h"

namespace platform::internal {

class Painting {
 public:
  enum class Children { Default, All, None };

  // Adds a client-coordinate area to the window's update region, and to the
  // children it covers: all of them, none, or by default those of a parent
  // without WS_CLIPCHILDREN. A child whose frame is covered repaints it.
  static void invalidate(HWND hwnd, const Region& clientArea, bool erase, Children children);
  // Removes an area (null: everything) from the update regions.
  static void validate(HWND hwnd, const Region* clientArea, Children children);
  // Paints the window, then its children, if they need it.
  static void updateNow(HWND hwnd);
  // Sends WM_ERASEBKGND now when an erase waits.
  static void eraseNow(HWND hwnd);
  // Sends WM_NCPAINT when the frame waits for it.
  static void paintPendingFrame(HWND hwnd);
  // The window has something outside its client area to draw.
  static bool hasFrame(DWORD style, DWORD exStyle);
  // The whole client area in client coordinates.
  static Region clientArea(HWND hwnd);
};

}  // namespace platform::internal

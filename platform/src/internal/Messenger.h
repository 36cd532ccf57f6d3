// Delivery of messages to window procedures: calls on the window's thread,
// sends across threads, posts.
#pragma once

#include <optional>

#include "internal/Window.h"

namespace platform::internal {

class Messenger {
 public:
  // Calls the window's current procedure on the calling thread.
  static LRESULT call(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
  // SendMessageW; with a time-out (process clock) a cross-thread send may give
  // up (*ok false, ERROR_TIMEOUT).
  static LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                      std::optional<UINT> timeoutMs = std::nullopt, bool* ok = nullptr);
  static bool sendNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool postToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace platform::internal

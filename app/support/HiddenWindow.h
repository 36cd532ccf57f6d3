// An invisible window owned by one object, whose messages go to a handler:
// the way a control without a window of its own gets timer and socket
// messages on the user-interface thread.
#pragma once

#include <functional>

#include "platform/user.h"

namespace skiffwire {

class HiddenWindow {
 public:
  using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  // Creates the window on the calling thread; its messages are dispatched by
  // that thread's message loop. hwnd() is null when creation failed.
  explicit HiddenWindow(Handler handler);
  ~HiddenWindow();
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND hwnd_ = nullptr;
};

}  // namespace skiffwire

// The form: a top-level window of fixed size holding the frames and
// controls, with the load event (raised once, before the window is first
// shown) and the unload event (raised when the user closes the window; a
// handler that sets Cancel keeps it open). Destroying the window ends the
// thread's message loop.
//
// Reentrancy: the handlers of load and unload run inside load() and inside
// the window's WM_CLOSE; they may pump messages (DoEvents) but must not
// destroy the form object.
#pragma once

#include <string>

#include "app/members/IForm.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowForm final : public WindowControl<WindowForm, IForm> {
 public:
  WindowForm();
  ~WindowForm() override;

  HRESULT put_Caption(BSTR caption) override;

  // Creates the hidden top-level window with a client area of that size
  // (pixels) and the caption the design gives; false when it fails.
  bool create(SIZE client, std::u16string_view caption);
  // Raises the load event the first time.
  void load();
  // Loads, then shows the window and paints it.
  void show();
  // Raises the unload event; when nobody cancels, destroys the window.
  // Returns false when a handler cancelled.
  bool unload();

  bool loaded() const { return loaded_; }

 private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onClose();
  LRESULT onDestroy();

  bool loaded_ = false;
  bool destroying_ = false;
};

}  // namespace skiffwire

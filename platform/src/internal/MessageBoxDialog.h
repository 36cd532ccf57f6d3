// The message box as a modal window drawn by the platform: text, icon and
// buttons, owned by the given owner (disabled while the box is up), with its
// own message loop so that the other windows keep painting and timers keep
// firing. Enter presses the focused button, Escape and the close button
// answer Cancel (or OK for a box with only OK), Tab and the arrows move the
// focus, a button's mnemonic letter presses it, and Help or F1 calls the
// box's help callback with a HELPINFO (or sends WM_HELP to the owner).
#pragma once

#include "platform/user.h"

namespace platform::internal {

class MessageBoxDialog {
 public:
  // The class name of the box's window.
  static constexpr const char16_t* kClassName = u"#32770";

  // Shows the box and returns the identifier of the button chosen; 0 when
  // the loop ended with WM_QUIT (posted again for the outer loop).
  static int run(const MSGBOXPARAMSW& params);
};

}  // namespace platform::internal

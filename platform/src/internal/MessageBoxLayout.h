// Where the parts of a message box go: icon, text and the row of buttons,
// in client pixels at the screen's resolution.
#pragma once

#include <string>
#include <vector>

#include "platform/user.h"

namespace platform::internal {

struct MessageBoxButton {
  int id;
  std::u16string label;  // with its '&' mnemonic
  RECT rect{};
};

class MessageBoxLayout {
 public:
  // The buttons of a style in display order (Help last with MB_HELP).
  static std::vector<MessageBoxButton> buttonsOf(UINT style);
  // The answer of Escape and of the close button; 0 when the box has none
  // (Yes/No, Abort/Retry/Ignore).
  static int cancelAnswerOf(UINT style);
  // The index of the button that starts focused (the MB_DEFBUTTONn bits).
  static size_t defaultIndexOf(UINT style);

  // Lays the box out for a text of the given size (measured at `dpi`).
  MessageBoxLayout(UINT style, SIZE textSize, int dpi);

  int scaled(int pixels) const { return pixels * dpi_ / 96; }
  // The widest text before it wraps.
  static int wrapWidth(int dpi) { return 420 * dpi / 96; }

  SIZE clientSize() const { return client_; }
  RECT iconRect() const { return icon_; }  // empty without an icon
  RECT textRect() const { return text_; }
  RECT buttonRowRect() const { return row_; }
  std::vector<MessageBoxButton>& buttons() { return buttons_; }
  const std::vector<MessageBoxButton>& buttons() const { return buttons_; }

 private:
  int dpi_;
  SIZE client_{};
  RECT icon_{};
  RECT text_{};
  RECT row_{};
  std::vector<MessageBoxButton> buttons_;
};

}  // namespace platform::internal

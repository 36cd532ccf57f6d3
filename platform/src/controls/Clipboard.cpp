// The clipboard: a text that the edit controls of this process cut, copy
// and paste.
#include <mutex>

#include "platform/controls.h"
#include "platform/display.h"

namespace platform {
namespace {

struct Clipboard {
  std::mutex mutex;
  std::u16string text;
  bool hasText = false;
};

Clipboard& clipboard() {
  static Clipboard board;
  return board;
}

}  // namespace

std::u16string ClipboardText() {
  std::u16string desktop;
  if (CurrentDisplay().clipboardText(desktop)) return desktop;
  std::lock_guard lock(clipboard().mutex);
  return clipboard().text;
}

void SetClipboardText(std::u16string_view text) {
  CurrentDisplay().setClipboardText(text);
  std::lock_guard lock(clipboard().mutex);
  clipboard().text = text;
  clipboard().hasText = true;
}

bool ClipboardHasText() {
  std::u16string desktop;
  if (CurrentDisplay().clipboardText(desktop)) return !desktop.empty();
  std::lock_guard lock(clipboard().mutex);
  return clipboard().hasText;
}

}  // namespace platform

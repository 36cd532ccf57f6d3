// The clipboard: a text that the edit controls of this process cut, copy
// and paste.
#include <mutex>

#include "platform/controls.h"

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
  std::lock_guard lock(clipboard().mutex);
  return clipboard().text;
}

void SetClipboardText(std::u16string_view text) {
  std::lock_guard lock(clipboard().mutex);
  clipboard().text = text;
  clipboard().hasText = true;
}

bool ClipboardHasText() {
  std::lock_guard lock(clipboard().mutex);
  return clipboard().hasText;
}

}  // namespace platform

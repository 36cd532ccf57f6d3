// Turns raw input into the messages of the thread that takes it: hit tests,
// cursor shape, double clicks, the target of keys, and, when the message is
// removed, mouse activation and the thread's key state.
#pragma once

#include <optional>

#include "internal/MessageQueue.h"

namespace platform::internal {

class InputTranslator {
 public:
  // The message the input becomes, or nothing when no window takes it.
  static std::optional<MSG> cook(MessageQueue& queue, const RawInput& raw);
  // Work done as the message leaves the queue; false when it is eaten
  // (WM_MOUSEACTIVATE answered MA_*ANDEAT).
  static bool remove(MessageQueue& queue, const RawInput& raw, const MSG& msg);
  // MK_* flags for the given async key state.
  static WPARAM mouseKeys();
  // The scan code of a virtual key on a US keyboard (0 when unknown).
  static UINT scanCode(int virtualKey);

 private:
  static std::optional<MSG> cookMouse(MessageQueue& queue, const RawInput& raw);
  static std::optional<MSG> cookKey(MessageQueue& queue, const RawInput& raw);
};

}  // namespace platform::internal

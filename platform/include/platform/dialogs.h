// The headless answerer of message boxes: every box shown is recorded, and a
// policy (set by tests) chooses the answer. Without a policy a box is answered
// with its default button.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct MessageBoxRecord {
  std::u16string text;
  std::u16string caption;
  UINT style = 0;
  HWND owner = nullptr;
};

// What a policy can do besides answering: press the box's Help button (runs
// the box's help callback, as a user's press would).
struct MessageBoxActions {
  std::function<void()> pressHelp;
};

using MessageBoxPolicy = std::function<int(const MessageBoxRecord&, const MessageBoxActions&)>;

// Replaces the policy; an empty function restores the default-button answer.
void SetMessageBoxPolicy(MessageBoxPolicy policy);

// The boxes shown so far on any thread, oldest first.
std::vector<MessageBoxRecord> RecordedMessageBoxes();
void ClearRecordedMessageBoxes();

// The button identifiers of a style's MB_TYPEMASK set, in display order.
std::vector<int> ButtonIdsOf(UINT style);

// The identifier of the default button of a style (MB_DEFBUTTONn of its set).
int DefaultButtonOf(UINT style);

// Records boxes for the lifetime of the object and restores the default policy
// afterwards (tests).
class ScopedMessageBoxPolicy {
 public:
  explicit ScopedMessageBoxPolicy(MessageBoxPolicy policy = {}) {
    ClearRecordedMessageBoxes();
    SetMessageBoxPolicy(std::move(policy));
  }
  ~ScopedMessageBoxPolicy() {
    SetMessageBoxPolicy({});
    ClearRecordedMessageBoxes();
  }
  ScopedMessageBoxPolicy(const ScopedMessageBoxPolicy&) = delete;
  ScopedMessageBoxPolicy& operator=(const ScopedMessageBoxPolicy&) = delete;

  std::vector<MessageBoxRecord> boxes() const { return RecordedMessageBoxes(); }
};

}  // namespace platform

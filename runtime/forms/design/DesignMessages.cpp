#include "runtime/forms/design/internal/DesignMessages.h"

#include <atomic>
#include <string>

#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/forms/design/InternalAssertion.h"

namespace rt {
namespace {
std::atomic<InternalAssertionHook> g_assertionHook{nullptr};
}  // namespace

InternalAssertionHook SetInternalAssertionHook(InternalAssertionHook hook) {
  return g_assertionHook.exchange(hook);
}

namespace design {

void ShowDesignMessage(std::u16string_view text, std::u16string_view caption) {
  const std::u16string textZ(text);
  const std::u16string captionZ(caption);
  MessageBoxW(nullptr, textZ.c_str(), captionZ.c_str(), MB_OK);
}

void WaitAfterFailure() {
  Sleep(1000);
}

void RaiseInternalAssertion(const char* what) {
  if (InternalAssertionHook hook = g_assertionHook.load()) hook(what);
}

}  // namespace design
}  // namespace rt

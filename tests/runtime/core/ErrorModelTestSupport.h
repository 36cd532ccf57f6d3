// Helpers for tests of the error model.
#pragma once

#include <thread>

namespace rt::testing {

// Runs fn on a new thread, so that it starts with a fresh error context (the
// terminating flag, once set, stays set for its thread).
template <typename Fn>
void OnFreshThread(Fn fn) {
  std::thread(fn).join();
}

}  // namespace rt::testing

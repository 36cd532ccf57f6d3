// The per-window state of a system control, found by its window handle.
//
// Controls live on the thread of their window; each thread keeps its own
// table. Handlers hold a shared reference while they run, so a control
// destroyed from inside one of its own notifications is freed only when
// the handler returns.
#pragma once

#include <memory>
#include <unordered_map>

#include "platform/types.h"

namespace platform::internal {

template <typename Control>
class ControlRegistry {
 public:
  static std::shared_ptr<Control> find(HWND hwnd) {
    auto it = table().find(hwnd);
    return it == table().end() ? nullptr : it->second;
  }
  static void add(HWND hwnd, std::shared_ptr<Control> control) {
    table()[hwnd] = std::move(control);
  }
  static void remove(HWND hwnd) { table().erase(hwnd); }

 private:
  static std::unordered_map<HWND, std::shared_ptr<Control>>& table() {
    thread_local std::unordered_map<HWND, std::shared_ptr<Control>> controls;
    return controls;
  }
};

}  // namespace platform::internal

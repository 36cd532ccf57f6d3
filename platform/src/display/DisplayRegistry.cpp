// The display driver in force, and the display thread.
#include "platform/display.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "internal/DisplayState.h"
#include "platform/user.h"

namespace platform {
namespace {

struct Registry {
  std::mutex mutex;
  // Replaced drivers stay alive: a thread may still be inside one.
  std::vector<std::unique_ptr<DisplayDriver>> drivers;
  std::atomic<DisplayDriver*> current{nullptr};
  std::atomic<DWORD> displayThread{0};
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

int DisplayDriver::wait(std::span<pollfd> fds, int timeoutMs) {
  return ::poll(fds.data(), fds.size(), timeoutMs);
}

DisplayDriver& CurrentDisplay() {
  Registry& r = registry();
  if (DisplayDriver* driver = r.current.load(std::memory_order_acquire)) return *driver;
  std::lock_guard lock(r.mutex);
  if (!r.current.load()) {
    r.drivers.push_back(std::make_unique<HeadlessDisplay>());
    r.current.store(r.drivers.back().get(), std::memory_order_release);
  }
  return *r.current.load();
}

void SetDisplayDriver(std::unique_ptr<DisplayDriver> driver) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (!driver) {
    driver = std::make_unique<HeadlessDisplay>();
    r.displayThread.store(0);
  } else {
    r.displayThread.store(GetCurrentThreadId());
  }
  r.drivers.push_back(std::move(driver));
  r.current.store(r.drivers.back().get(), std::memory_order_release);
}

bool SelectDisplayDriver(const char* name) {
  if (!name || std::strcmp(name, "headless") != 0) return false;
  SetDisplayDriver(std::make_unique<HeadlessDisplay>());
  return true;
}

namespace internal {

DWORD DisplayThreadId() {
  return registry().displayThread.load(std::memory_order_acquire);
}

}  // namespace internal
}  // namespace platform

// The display driver in force, and the display thread.
#include "platform/display.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "internal/DisplayState.h"
#include "internal/SdlDisplay.h"
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
  if (!name) return false;
  if (std::strcmp(name, "headless") == 0) {
    SetDisplayDriver(std::make_unique<HeadlessDisplay>());
    return true;
  }
  if (std::strcmp(name, "sdl") != 0) return false;
  std::string error;
  auto display = internal::SdlDisplay::open(error);
  if (!display) return false;
  SetDisplayDriver(std::move(display));
  return true;
}

std::string SelectDisplayDriverForDesktop() {
  const char* chosen = std::getenv("SKIFFWIRE_DISPLAY");
  if (chosen && std::strcmp(chosen, "headless") == 0) {
    SelectDisplayDriver("headless");
    return {};
  }
  std::string error;
  auto display = internal::SdlDisplay::open(error);
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    return std::string("No display is reachable") +
           (name && *name ? " at DISPLAY=" + std::string(name)
                          : std::string(" (DISPLAY is not set)")) +
           ": " + error;
  }
  SetDisplayDriver(std::move(display));
  return {};
}

namespace internal {

DWORD DisplayThreadId() {
  return registry().displayThread.load(std::memory_order_acquire);
}

}  // namespace internal
}  // namespace platform

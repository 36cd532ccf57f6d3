#include "internal/WindowManager.h"

#include <algorithm>
#include <utility>

namespace platform::internal {

WindowManager& WindowManager::instance() {
  static WindowManager manager;
  return manager;
}

WindowManager::WindowManager() {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  info.lpfnWndProc = DefWindowProcW;
  auto desktopClass = std::make_shared<WindowClass>(info, u"#32769", 0x8001, true);
  auto desktop = std::make_shared<Window>(desktopClass, nullptr, 0);
  desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  desktop->stage = Window::Stage::Alive;
  desktop_ = handles_.add(desktop);
  desktop->setHandle(desktop_);
}

std::shared_ptr<Window> WindowManager::findLocked(HWND hwnd) const {
  if (!hwnd) return nullptr;
  return handles_.find(hwnd);
}

std::shared_ptr<Window> WindowManager::find(HWND hwnd) const {
  if (!hwnd) return nullptr;
  std::lock_guard lock(mutex_);
  return handles_.find(hwnd);
}

HWND WindowManager::add(std::shared_ptr<Window> window, HWND parent) {
  std::lock_guard lock(mutex_);
  auto parentWindow = findLocked(parent);
  if (!parentWindow) return nullptr;
  Window& w = *window;
  HWND hwnd = handles_.add(std::move(window));
  if (!hwnd) return nullptr;
  w.setHandle(hwnd);
  w.parent = parent;
  insertLocked(*parentWindow, hwnd, HWND_TOP);
  return hwnd;
}

void WindowManager::remove(Window& window) {
  std::shared_ptr<Window> released;  // destroyed after the lock is dropped
  std::lock_guard lock(mutex_);
  released = findLocked(window.handle());
  unlinkLocked(window.handle());
  for (auto& entry : handles_.all()) {
    if (entry->owner == window.handle()) entry->owner = nullptr;
  }
  if (foreground_ == window.handle()) {
    foreground_ = nullptr;
    foregroundThread_ = 0;
  }
  if (capture_ == window.handle()) capture_ = nullptr;
  handles_.remove(window.handle());
}

void WindowManager::unlinkLocked(HWND hwnd) {
  auto w = findLocked(hwnd);
  if (!w) return;
  auto parent = findLocked(w->parent);
  if (!parent) return;
  auto& siblings = parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
}

void WindowManager::insertLocked(Window& parent, HWND child, HWND after) {
  auto& siblings = parent.children;
  auto w = findLocked(child);
  bool topmost = w && (w->exStyle & WS_EX_TOPMOST) && !w->isChild();
  auto isTopmost = [&](HWND h) {
    auto s = findLocked(h);
    return s && (s->exStyle & WS_EX_TOPMOST) && !s->isChild();
  };
  auto firstPlain =
      std::find_if(siblings.begin(), siblings.end(), [&](HWND h) { return !isTopmost(h); });
  std::vector<HWND>::iterator place;
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    place = topmost ? siblings.begin() : firstPlain;
  } else if (after == HWND_BOTTOM) {
    place = topmost ? firstPlain : siblings.end();
  } else {
    place = std::find(siblings.begin(), siblings.end(), after);
    if (place != siblings.end()) ++place;
    // Keep the band of topmost windows above the others.
    if (topmost && place > firstPlain) place = firstPlain;
    if (!topmost && place < firstPlain) place = firstPlain;
  }
  siblings.insert(place, child);
}

std::vector<HWND> WindowManager::children(HWND parent) const {
  std::lock_guard lock(mutex_);
  auto w = findLocked(parent);
  return w ? w->children : std::vector<HWND>{};
}

HWND WindowManager::parentOf(HWND hwnd) const {
  std::lock_guard lock(mutex_);
  auto w = findLocked(hwnd);
  return w ? w->parent : nullptr;
}

HWND WindowManager::ownerOf(HWND hwnd) const {
  std::lock_guard lock(mutex_);
  auto w = findLocked(hwnd);
  return w ? w->owner : nullptr;
}

void WindowManager::setOwner(HWND hwnd, HWND owner) {
  std::lock_guard lock(mutex_);
  if (auto w = findLocked(hwnd)) w->owner = owner;
}

void WindowManager::setParent(HWND hwnd, HWND parent) {
  std::lock_guard lock(mutex_);
  auto w = findLocked(hwnd);
  auto p = findLocked(parent);
  if (!w || !p) return;
  unlinkLocked(hwnd);
  w->parent = parent;
  insertLocked(*p, hwnd, HWND_TOP);
}

void WindowManager::reorder(HWND hwnd, HWND after) {
  std::lock_guard lock(mutex_);
  auto w = findLocked(hwnd);
  if (!w) return;
  auto parent = findLocked(w->parent);
  if (!parent || after == hwnd) return;
  unlinkLocked(hwnd);
  insertLocked(*parent, hwnd, after);
}

bool WindowManager::isDescendant(HWND ancestor, HWND hwnd) const {
  std::lock_guard lock(mutex_);
  auto w = findLocked(hwnd);
  while (w && w->parent) {
    if (w->parent == ancestor) return true;
    w = findLocked(w->parent);
  }
  return false;
}

HWND WindowManager::foreground() const {
  std::lock_guard lock(mutex_);
  return foreground_;
}

DWORD WindowManager::foregroundThread() const {
  std::lock_guard lock(mutex_);
  return foregroundThread_;
}

void WindowManager::setForeground(HWND hwnd, DWORD threadId) {
  std::lock_guard lock(mutex_);
  foreground_ = hwnd;
  foregroundThread_ = threadId;
}

HWND WindowManager::capture() const {
  std::lock_guard lock(mutex_);
  return capture_;
}

void WindowManager::setCapture(HWND hwnd) {
  std::lock_guard lock(mutex_);
  capture_ = hwnd;
}

POINT WindowManager::cursorPos() const {
  std::lock_guard lock(mutex_);
  return cursorPos_;
}

void WindowManager::setCursorPos(POINT point) {
  std::lock_guard lock(mutex_);
  cursorPos_ = point;
}

HCURSOR WindowManager::cursor() const {
  std::lock_guard lock(mutex_);
  return cursor_;
}

HCURSOR WindowManager::setCursor(HCURSOR cursor) {
  std::lock_guard lock(mutex_);
  return std::exchange(cursor_, cursor);
}

BYTE WindowManager::asyncKey(int virtualKey) const {
  std::lock_guard lock(mutex_);
  return asyncKeys_[static_cast<size_t>(virtualKey) & 0xFF];
}

void WindowManager::setAsyncKey(int virtualKey, bool down) {
  std::lock_guard lock(mutex_);
  BYTE& state = asyncKeys_[static_cast<size_t>(virtualKey) & 0xFF];
  if (down && !(state & 0x80)) state ^= 0x01;
  state = static_cast<BYTE>((state & 0x01) | (down ? 0x80 : 0));
}

}  // namespace platform::internal

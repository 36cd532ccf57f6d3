#include "platform/display.h"
#include "platform/user.h"

namespace platform {

SIZE HeadlessDisplay::screenSize() const {
  std::lock_guard lock(mutex_);
  return screen_;
}

int HeadlessDisplay::dpi() const {
  std::lock_guard lock(mutex_);
  return dpi_;
}

void HeadlessDisplay::record(DisplayEvent event) {
  std::lock_guard lock(mutex_);
  events_.push_back(std::move(event));
}

void HeadlessDisplay::windowShown(HWND hwnd) {
  record({DisplayEvent::Kind::Shown, hwnd, {}, {}});
}

void HeadlessDisplay::windowHidden(HWND hwnd) {
  record({DisplayEvent::Kind::Hidden, hwnd, {}, {}});
}

void HeadlessDisplay::windowMoved(HWND hwnd, const RECT& rect) {
  record({DisplayEvent::Kind::Moved, hwnd, rect, {}});
}

void HeadlessDisplay::windowRetitled(HWND hwnd, std::u16string_view title) {
  record({DisplayEvent::Kind::Retitled, hwnd, {}, std::u16string(title)});
}

void HeadlessDisplay::windowDestroyed(HWND hwnd) {
  record({DisplayEvent::Kind::Destroyed, hwnd, {}, {}});
}

void HeadlessDisplay::windowActivated(HWND hwnd) {
  record({DisplayEvent::Kind::Activated, hwnd, {}, {}});
}

std::vector<DisplayEvent> HeadlessDisplay::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

void HeadlessDisplay::clearEvents() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

void HeadlessDisplay::changeDisplay(SIZE screen, int dpi) {
  {
    std::lock_guard lock(mutex_);
    screen_ = screen;
    dpi_ = dpi;
  }
  SendMessageW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32,
               MAKELPARAM(static_cast<WORD>(screen.cx), static_cast<WORD>(screen.cy)));
}

void HeadlessDisplay::click(int x, int y, MouseButton button) {
  InjectMouseMove({x, y});
  InjectMouseButton(button, true);
  InjectMouseButton(button, false);
}

void HeadlessDisplay::pressKey(int virtualKey) {
  InjectKey(virtualKey, true);
  InjectKey(virtualKey, false);
}

void HeadlessDisplay::typeText(std::u16string_view text) {
  for (char16_t ch : text)
    InjectChar(ch);
}

ScopedHeadlessDisplay::ScopedHeadlessDisplay(SIZE screen, int dpi) {
  auto display = std::make_unique<HeadlessDisplay>(screen, dpi);
  display_ = display.get();
  SetDisplayDriver(std::move(display));
}

}  // namespace platform

#include "internal/DesktopFocus.h"

namespace platform::internal {

void DesktopFocus::platformActivated(HWND hwnd, bool desktopAgrees, uint32_t nowMs) {
  if (desktopAgrees) {
    agreed_ = hwnd;
    raising_ = nullptr;
    return;
  }
  raising_ = hwnd;
  raisedAt_ = nowMs;
}

void DesktopFocus::forget(HWND hwnd) {
  if (agreed_ == hwnd) agreed_ = nullptr;
  if (raising_ == hwnd) raising_ = nullptr;
}

std::optional<DesktopFocus::Change> DesktopFocus::observed(HWND focused, uint32_t nowMs) {
  if (raising_) {
    if (focused == raising_) {
      agreed_ = focused;
      raising_ = nullptr;
      return std::nullopt;
    }
    if (nowMs - raisedAt_ < kRaiseWaitMs) return std::nullopt;
    raising_ = nullptr;
  }
  if (focused == agreed_) return std::nullopt;
  HWND previous = agreed_;
  agreed_ = focused;
  if (focused) return Change{focused, true};
  return Change{previous, false};
}

}  // namespace platform::internal

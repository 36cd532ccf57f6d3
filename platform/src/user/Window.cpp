#include "internal/Window.h"

#include <cstring>

#include "internal/MessageQueue.h"

namespace platform::internal {

Window::Window(std::shared_ptr<WindowClass> cls, std::shared_ptr<MessageQueue> queue,
               DWORD threadId)
    : class_(std::move(cls)),
      queue_(std::move(queue)),
      threadId_(threadId),
      extra_(static_cast<size_t>(class_->windowExtraBytes()), 0) {
  procedure = class_->procedure();
  ++class_->windowCount();
}

Window::~Window() {
  --class_->windowCount();
}

bool Window::onCurrentThread() const {
  return threadId_ == GetCurrentThreadId();
}

bool Window::readExtra(int offset, size_t size, LONG_PTR* value) const {
  if (offset < 0 || static_cast<size_t>(offset) + size > extra_.size()) return false;
  if (size == sizeof(LONG)) {
    LONG v;
    std::memcpy(&v, extra_.data() + offset, sizeof v);
    *value = v;
  } else {
    std::memcpy(value, extra_.data() + offset, sizeof *value);
  }
  return true;
}

bool Window::writeExtra(int offset, size_t size, LONG_PTR value, LONG_PTR* previous) {
  if (!readExtra(offset, size, previous)) return false;
  if (size == sizeof(LONG)) {
    auto v = static_cast<LONG>(value);
    std::memcpy(extra_.data() + offset, &v, sizeof v);
  } else {
    std::memcpy(extra_.data() + offset, &value, sizeof value);
  }
  return true;
}

void Window::invalidate(const RECT* rect) {
  RECT client{0, 0, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top};
  RECT area = client;
  if (rect && !IntersectRect(&area, rect, &client)) return;
  if (IsRectEmpty(&area)) return;
  if (needsPaint_) {
    UnionRect(&updateRect_, &updateRect_, &area);
    return;
  }
  updateRect_ = area;
  needsPaint_ = true;
  if (queue_) queue_->countPaint(+1);
}

void Window::validate(const RECT* rect) {
  if (!needsPaint_) return;
  if (rect) {
    RECT common;
    // A partial validation keeps the whole update rectangle (no regions yet).
    if (!IntersectRect(&common, rect, &updateRect_) || !EqualRect(&common, &updateRect_)) return;
  }
  needsPaint_ = false;
  SetRectEmpty(&updateRect_);
  if (queue_) queue_->countPaint(-1);
}

}  // namespace platform::internal

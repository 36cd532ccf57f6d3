#include "internal/Window.h"

#include <cstring>

#include "internal/MessageQueue.h"
#include "internal/ScrollBars.h"
#include "internal/WindowSurface.h"

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

void Window::refreshPaintCount() {
  bool needs = !updateRegion_.empty() || framePending_ || internalPaint_;
  if (needs == needsPaint_) return;
  needsPaint_ = needs;
  if (queue_) queue_->countPaint(needs ? +1 : -1);
}

void Window::invalidate(const RECT* rect, bool erase) {
  RECT client{0, 0, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top};
  RECT area = client;
  if (rect && !IntersectRect(&area, rect, &client)) return;
  if (IsRectEmpty(&area)) return;
  invalidate(Region(area), erase);
}

void Window::invalidate(const Region& region, bool erase) {
  RECT client{0, 0, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top};
  Region area = Region::combine(region, Region(client), Region::Op::And);
  if (area.empty()) return;
  updateRegion_ |= area;
  if (erase) erasePending_ = true;
  refreshPaintCount();
}

void Window::validate(const RECT* rect) {
  if (!rect) {
    updateRegion_ = Region();
    erasePending_ = false;
    internalPaint_ = false;
  } else {
    updateRegion_ -= Region(*rect);
    if (updateRegion_.empty()) erasePending_ = false;
  }
  refreshPaintCount();
}

void Window::validate(const Region& region) {
  updateRegion_ -= region;
  if (updateRegion_.empty()) erasePending_ = false;
  refreshPaintCount();
}

void Window::validateAll() {
  updateRegion_ = Region();
  erasePending_ = false;
  framePending_ = false;
  internalPaint_ = false;
  refreshPaintCount();
}

void Window::invalidateFrame() {
  framePending_ = true;
  refreshPaintCount();
}

void Window::requestInternalPaint() {
  internalPaint_ = true;
  refreshPaintCount();
}

bool Window::takeFramePaint() {
  if (!framePending_) return false;
  framePending_ = false;
  refreshPaintCount();
  return true;
}

bool Window::takeErase() {
  bool pending = erasePending_;
  erasePending_ = false;
  return pending;
}

}  // namespace platform::internal

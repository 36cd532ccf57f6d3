#include "app/udp/internal/ReceiveQueue.h"

namespace skiffwire::internal {

bool ReceiveQueue::push(std::string_view datagram) {
  if (queue_.size() >= maxDatagrams_ || bytes_ + datagram.size() > maxBytes_) {
    ++dropped_;
    return false;
  }
  queue_.emplace_back(datagram);
  bytes_ += datagram.size();
  return true;
}

std::string ReceiveQueue::pop() {
  if (queue_.empty()) return {};
  std::string datagram = std::move(queue_.front());
  queue_.pop_front();
  bytes_ -= datagram.size();
  return datagram;
}

void ReceiveQueue::clear() {
  queue_.clear();
  bytes_ = 0;
}

}  // namespace skiffwire::internal

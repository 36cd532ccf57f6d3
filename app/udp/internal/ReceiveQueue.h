// The datagrams a socket has received and the application has not read yet,
// oldest first, bounded in count and bytes: what does not fit is dropped and
// counted, so a flood cannot exhaust memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace skiffwire::internal {

class ReceiveQueue {
 public:
  ReceiveQueue(size_t maxDatagrams, size_t maxBytes)
      : maxDatagrams_(maxDatagrams), maxBytes_(maxBytes) {}

  // Keeps the datagram; false (and counted as dropped) when it does not fit.
  bool push(std::string_view datagram);
  // The oldest datagram; empty when there is none.
  std::string pop();
  const std::string* front() const { return queue_.empty() ? nullptr : &queue_.front(); }
  void clear();

  size_t size() const { return queue_.size(); }
  size_t bytes() const { return bytes_; }
  uint64_t dropped() const { return dropped_; }

 private:
  size_t maxDatagrams_;
  size_t maxBytes_;
  std::deque<std::string> queue_;
  size_t bytes_ = 0;
  uint64_t dropped_ = 0;
};

}  // namespace skiffwire::internal

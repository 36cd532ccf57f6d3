#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "platform/com.h"

namespace rt {

struct WindowRecord;
class WindowEventSink;

// The sinks of a record as they are when something is to be told: a sink
// may unregister itself or another one meanwhile. A window has one or two
// sinks, held here without allocating; more spill to the heap.
class SinkSnapshot {
 public:
  explicit SinkSnapshot(const WindowRecord& record);
  ~SinkSnapshot();
  SinkSnapshot(const SinkSnapshot&) = delete;
  SinkSnapshot& operator=(const SinkSnapshot&) = delete;

  const ComPtr<WindowEventSink>* begin() const { return first_; }
  const ComPtr<WindowEventSink>* end() const { return first_ + count_; }

 private:
  std::array<ComPtr<WindowEventSink>, 4> held_;
  std::vector<ComPtr<WindowEventSink>> spilled_;
  const ComPtr<WindowEventSink>* first_ = nullptr;
  size_t count_ = 0;
};

}  // namespace rt

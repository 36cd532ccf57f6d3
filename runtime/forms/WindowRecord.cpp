#include "runtime/forms/WindowRecord.h"

#include <algorithm>

#include "runtime/forms/EngineControl.h"

namespace rt {

SinkSnapshot::SinkSnapshot(const WindowRecord& record) : count_(record.eventSinks.size()) {
  if (count_ > held_.size()) {
    spilled_ = record.eventSinks;
    first_ = spilled_.data();
    return;
  }
  std::copy(record.eventSinks.begin(), record.eventSinks.end(), held_.begin());
  first_ = held_.data();
}

SinkSnapshot::~SinkSnapshot() = default;

void AddEventSink(WindowRecord& record, WindowEventSink* sink) {
  if (!sink) return;
  for (const auto& entry : record.eventSinks) {
    if (entry.Get() == sink) return;
  }
  record.eventSinks.emplace_back(sink);
}

void RemoveEventSink(WindowRecord& record, WindowEventSink* sink) {
  std::erase_if(record.eventSinks, [sink](const auto& entry) { return entry.Get() == sink; });
}

}  // namespace rt

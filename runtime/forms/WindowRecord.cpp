#include "runtime/forms/WindowRecord.h"

#include <algorithm>

#include "runtime/forms/EngineControl.h"

namespace rt {

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

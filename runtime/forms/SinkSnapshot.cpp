#include "runtime/forms/SinkSnapshot.h"

#include <algorithm>

#include "runtime/forms/EngineControl.h"
#include "runtime/forms/WindowRecord.h"

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

}  // namespace rt

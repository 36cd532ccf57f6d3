// A check box in memory: its value (0, 1 or 2, anything above stored as
// given) and Click when the value changes.
#pragma once

#include "app/members/ICheckBox.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedCheckBox final : public SimulatedControl<SimulatedCheckBox, ICheckBox> {
 public:
  explicit SimulatedCheckBox(SHORT value = kUnchecked);

  HRESULT get_Value(SHORT* value) override;
  HRESULT put_Value(SHORT value) override;

  SHORT value() const { return value_; }
  int clicks() const { return clicks_; }

 private:
  SHORT value_;
  int clicks_ = 0;
};

}  // namespace skiffwire

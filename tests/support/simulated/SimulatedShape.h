// A shape in memory: its fill colour.
#pragma once

#include "app/members/IShape.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedShape final : public SimulatedControl<SimulatedShape, IShape> {
 public:
  SimulatedShape();

  HRESULT put_FillColor(DWORD color) override;

  // The default fill colour is the system colour 0x80000000.
  DWORD fillColor() const { return fillColor_; }

 private:
  DWORD fillColor_ = 0x80000000;
};

}  // namespace skiffwire

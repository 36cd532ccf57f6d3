#include "support/simulated/SimulatedShape.h"

namespace skiffwire {

SimulatedShape::SimulatedShape() : SimulatedControl(DIID_ShapeEvents) {}

HRESULT SimulatedShape::put_FillColor(DWORD color) {
  fillColor_ = color;
  return S_OK;
}

}  // namespace skiffwire

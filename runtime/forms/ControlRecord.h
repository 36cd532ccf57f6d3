// The engine's record of one control (or of the form itself): where it sits,
// in which units, which window it has and which controls it contains.
//
// Records are created by the form loader (one per design object) and by Add
// control; the form's FormState owns them all and frees them with itself, so
// a record outlives any message its window is processing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"
#include "runtime/forms/WindowRecord.h"

namespace rt {

class EngineControl;
class EngineContainer;
class FormState;

// A scale: factors multiply pixels into scale units; origins are added
// (ScaleLeft/ScaleTop). Twips are 15 per pixel at 96 dots per inch.
struct Scale {
  double factorX = 15.0;
  double factorY = 15.0;
  double originX = 0.0;
  double originY = 0.0;
};

// Position and size of a control in its container's scale units, and the DPI
// of its form when the layout pass turned them into pixels.
struct Placement {
  int formDpi = 96;
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
};

struct ControlRecord {
  ComPtr<EngineControl> object;  // the control object (counted); null for the form's own record
  FormState* form = nullptr;     // owner form (not counted: the form owns this record)
  ControlRecord* container = nullptr;  // the form or frame that contains it; null for the form
  Placement placement;
  Scale outerScale;            // the container's inner scale, copied by the layout pass
  Scale innerScale;            // the scale its own children are measured in
  bool keepsOwnScale = false;  // the layout pass leaves innerScale alone
  WindowRecord window;
  std::u16string name;
  ControlRecord* arrayNext = nullptr;    // next element of its control array
  int32_t arrayIndex = -1;               // index within its control array; -1: not an array
  bool createdAtRunTime = false;         // added by Add control (only such can be unloaded)
  bool timerEnabled = false;             // the enabled flag a Timer control keeps
  bool removed = false;                  // unloaded: kept only until the form is freed
  std::vector<ControlRecord*> children;  // contained controls, in child-list order
};

}  // namespace rt

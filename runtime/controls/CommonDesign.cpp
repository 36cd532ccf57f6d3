#include "runtime/controls/CommonDesign.h"

#include "runtime/controls/BaseControlRect.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/WindowRecord.h"

namespace rt {

void ApplyCommonDesign(const CommonDesign& design, ControlRecord* record, BaseControlRect* window) {
  if (record) {
    record->placement.left = design.left;
    record->placement.top = design.top;
    record->placement.width = design.width;
    record->placement.height = design.height;
  }
  if (!window) return;
  window->putVisible(design.visible);
  window->putEnabled(design.enabled);
  window->putToolTipText(design.toolTipText.get());
}

void UseSharedMouseEvents(WindowRecord& window) {
  window.clickEvent = EventClick;
  window.mouseDownEvent = EventMouseDown;
  window.mouseMoveEvent = EventMouseMove;
  window.mouseUpEvent = EventMouseUp;
}

}  // namespace rt

// The common base of the objects behind GDI handles: pens, brushes, fonts,
// bitmaps, regions and device contexts.
#pragma once

#include "platform/types.h"

namespace platform::internal {

class GdiObject {
 public:
  enum class Kind { Pen, Brush, Font, Bitmap, Region, DeviceContext };

  virtual ~GdiObject() = default;
  virtual Kind kind() const = 0;

  // Stock objects and system colour brushes are never deleted.
  bool permanent() const { return permanent_; }
  void makePermanent() { permanent_ = true; }

 private:
  bool permanent_ = false;
};

}  // namespace platform::internal

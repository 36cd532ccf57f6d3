// The base of drawing state of a form: persistent drawing (AutoRedraw), clipping of its controls
// (ClipControls) and its scale mode, all used when its window is created.
#pragma once

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class GraphicsBase final : public DispatchObject {
 public:
  GraphicsBase() = default;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  VARIANT_BOOL autoRedraw_{VARIANT_FALSE};
  VARIANT_BOOL clipControls_{VARIANT_TRUE};
  SHORT scaleMode_{1};
};

}  // namespace rt

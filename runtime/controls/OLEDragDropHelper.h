// The base of OLE drag-and-drop settings of Form, Frame and Label (0: manual drag, no drop).
#pragma once

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class OLEDragDropHelper final : public DispatchObject {
 public:
  OLEDragDropHelper() = default;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  SHORT dragMode_{0};
  SHORT dropMode_{0};
};

}  // namespace rt

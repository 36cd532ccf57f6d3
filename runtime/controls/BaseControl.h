// The root of every control: its identity within its form. It keeps the
// engine's record of the control (filled in when the engine creates it) and
// the control's own dispatch interface, through which the bases look members
// up by name.
#pragma once

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

struct ControlRecord;

class BaseControl final : public DispatchObject {
 public:
  // outer: the whole control (not counted: it owns this object).
  explicit BaseControl(IDispatch* outer) : outer_(outer) {}

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  IDispatch* outer() const { return outer_; }
  ControlRecord* record() const { return record_; }
  void attach(ControlRecord* record) { record_ = record; }

  HRESULT getName(BSTR* name);
  HRESULT getTag(BSTR* tag);
  HRESULT putTag(BSTR tag);
  HRESULT getIndex(SHORT* index);
  HRESULT getContainer(IDispatch** container);
  HRESULT getParent(IDispatch** parent);

 private:
  IDispatch* outer_;
  ControlRecord* record_ = nullptr;
  Bstr tag_;
};

}  // namespace rt

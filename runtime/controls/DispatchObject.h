// The part every object of the control model shares, whether it is a whole
// control or one of the base objects a control contains: its class, its
// member table and the flag word whose bit 0 says the class initialisation
// has run for this object.
#pragma once

#include <cstdint>

#include "runtime/controls/ClassDescriptor.h"

namespace rt {

class MemberTable;

class DispatchObject {
 public:
  static constexpr uint32_t kClassInitialised = 0x1;

  virtual ~DispatchObject() = default;

  virtual const ClassDescriptor& descriptor() const = 0;
  virtual const MemberTable& members() const = 0;

  // Every member entry starts here: the first call runs the class
  // initialisation (flag first, so a member used by the routine itself does
  // not recurse); E_FAIL when the class has no routine.
  HRESULT ensureClassInitialised();
  bool classInitialised() const { return (flags_ & kClassInitialised) != 0; }

 protected:
  DispatchObject() = default;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

 private:
  uint32_t flags_ = 0;
};

}  // namespace rt

#include "support/simulated/SimulatedCheckBox.h"

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace skiffwire {

SimulatedCheckBox::SimulatedCheckBox(SHORT value)
    : SimulatedControl(DIID_CheckBoxEvents), value_(value) {}

HRESULT SimulatedCheckBox::get_Value(SHORT* value) {
  if (!value) return E_POINTER;
  *value = value_;
  return S_OK;
}

HRESULT SimulatedCheckBox::put_Value(SHORT value) {
  if (value < 0) return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
  if (value == value_) return S_OK;
  value_ = value;
  ++clicks_;
  raise(kClickEvent);
  return S_OK;
}

}  // namespace skiffwire

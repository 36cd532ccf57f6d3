#include "support/simulated/SimulatedCommandButton.h"

namespace skiffwire {

SimulatedCommandButton::SimulatedCommandButton(std::u16string_view caption)
    : SimulatedControl(DIID_CommandButtonEvents), caption_(caption) {}

HRESULT SimulatedCommandButton::get_Caption(BSTR* caption) {
  if (!caption) return E_POINTER;
  *caption = Bstr(caption_).release();
  return S_OK;
}

HRESULT SimulatedCommandButton::put_Caption(BSTR caption) {
  caption_ = ViewOf(caption);
  return S_OK;
}

HRESULT SimulatedCommandButton::put_Enabled(VARIANT_BOOL enabled) {
  enabled_ = enabled != VARIANT_FALSE;
  return S_OK;
}

bool SimulatedCommandButton::click() {
  if (!enabled_) return false;
  raise(kClickEvent);
  return true;
}

}  // namespace skiffwire

#include "support/simulated/SimulatedForm.h"

namespace skiffwire {

SimulatedForm::SimulatedForm() : SimulatedControl(DIID_FormEvents) {}

HRESULT SimulatedForm::put_Caption(BSTR caption) {
  caption_ = ViewOf(caption);
  return S_OK;
}

void SimulatedForm::load() {
  if (loaded_) return;
  loaded_ = true;
  raise(kFormLoadEvent);
}

bool SimulatedForm::unload() {
  if (!loaded_) return true;
  SHORT cancel = 0;
  VARIANT cancelArgument;
  VariantInit(&cancelArgument);
  cancelArgument.vt = VT_I2 | VT_BYREF;
  cancelArgument.piVal = &cancel;
  raise(kFormUnloadEvent, {cancelArgument});
  if (cancel != 0) return false;
  loaded_ = false;
  return true;
}

}  // namespace skiffwire

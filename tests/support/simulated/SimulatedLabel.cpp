#include "support/simulated/SimulatedLabel.h"

namespace skiffwire {

SimulatedLabel::SimulatedLabel(std::u16string_view caption)
    : SimulatedControl(DIID_LabelEvents), caption_(caption) {}

HRESULT SimulatedLabel::get_Caption(BSTR* caption) {
  if (!caption) return E_POINTER;
  *caption = Bstr(caption_).release();
  return S_OK;
}

HRESULT SimulatedLabel::put_Caption(BSTR caption) {
  std::u16string_view text = ViewOf(caption);
  if (text == caption_) return S_OK;
  caption_ = text;
  raise(kChangeEvent);
  return S_OK;
}

}  // namespace skiffwire

// A label in memory: its caption, and Change when the caption changes.
#pragma once

#include <string>

#include "app/members/ILabel.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedLabel final : public SimulatedControl<SimulatedLabel, ILabel> {
 public:
  explicit SimulatedLabel(std::u16string_view caption = {});

  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;

  const std::u16string& caption() const { return caption_; }

 private:
  std::u16string caption_;
};

}  // namespace skiffwire

// A command button in memory: caption, enabled state and the Click event.
#pragma once

#include <string>

#include "app/members/ICommandButton.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedCommandButton final
    : public SimulatedControl<SimulatedCommandButton, ICommandButton> {
 public:
  explicit SimulatedCommandButton(std::u16string_view caption = {});

  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;

  // A user's press: raises Click unless the button is disabled (returns
  // whether it did).
  bool click();

  const std::u16string& caption() const { return caption_; }
  bool enabled() const { return enabled_; }

 private:
  std::u16string caption_;
  bool enabled_ = true;
};

}  // namespace skiffwire

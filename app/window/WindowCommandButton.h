// A command button over the platform's push button: Click on BN_CLICKED.
#pragma once

#include "app/members/ICommandButton.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowCommandButton final : public WindowControl<WindowCommandButton, ICommandButton> {
 public:
  WindowCommandButton();

  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;

  void onNotification(WORD code) override;
};

}  // namespace skiffwire

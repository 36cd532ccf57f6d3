// A label over the platform's STATIC control.
#pragma once

#include "app/members/ILabel.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowLabel final : public WindowControl<WindowLabel, ILabel> {
 public:
  WindowLabel();

  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;
};

}  // namespace skiffwire

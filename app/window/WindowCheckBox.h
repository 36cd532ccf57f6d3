// A check box over the platform's automatic check box: Click when the user
// toggles it and when Value let changes the value.
#pragma once

#include "app/members/ICheckBox.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowCheckBox final : public WindowControl<WindowCheckBox, ICheckBox> {
 public:
  WindowCheckBox();

  HRESULT get_Value(SHORT* value) override;
  HRESULT put_Value(SHORT value) override;

  void onNotification(WORD code) override;
};

}  // namespace skiffwire

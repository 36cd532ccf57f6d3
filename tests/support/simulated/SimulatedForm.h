// A form in memory: its caption, and the load and unload events raised when
// a test (standing in for the forms engine) loads and unloads it.
#pragma once

#include <string>

#include "app/members/IForm.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedForm final : public SimulatedControl<SimulatedForm, IForm> {
 public:
  SimulatedForm();

  HRESULT put_Caption(BSTR caption) override;

  void load();
  // Raises the unload event; returns false when a handler cancelled.
  bool unload();

  const std::u16string& caption() const { return caption_; }
  bool loaded() const { return loaded_; }

 private:
  std::u16string caption_ = u"Form1";
  bool loaded_ = false;
};

}  // namespace skiffwire

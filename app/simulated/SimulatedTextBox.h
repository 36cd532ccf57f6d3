// A text box in memory: the text, caret and enabled state, and the Change
// event raised synchronously when the text changes.
#pragma once

#include <string>

#include "app/members/ITextBox.h"
#include "app/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedTextBox final : public SimulatedControl<SimulatedTextBox, ITextBox> {
 public:
  explicit SimulatedTextBox(std::u16string_view text = {});

  HRESULT get_Text(BSTR* text) override;
  HRESULT put_Text(BSTR text) override;
  HRESULT put_SelStart(LONG start) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;

  // What a user's typing does: replaces the text and raises Change.
  void type(std::u16string_view text);

  const std::u16string& text() const { return text_; }
  LONG selStart() const { return selStart_; }
  bool enabled() const { return enabled_; }
  // Times the caret was set (the log is scrolled by setting it).
  int selStartWrites() const { return selStartWrites_; }

 private:
  void setText(std::u16string_view text);

  std::u16string text_;
  LONG selStart_ = 0;
  bool enabled_ = true;
  int selStartWrites_ = 0;
};

}  // namespace skiffwire

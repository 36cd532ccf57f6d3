// A text box in memory: the text, the selection and the enabled state, and
// the Change event raised synchronously when the text changes. A negative
// SelStart or SelLength is refused with run-time error 380 (the
// application never sets one).
#pragma once

#include <string>

#include "app/members/ITextBox.h"
#include "support/simulated/SimulatedControl.h"

namespace skiffwire {

class SimulatedTextBox final : public SimulatedControl<SimulatedTextBox, ITextBox> {
 public:
  explicit SimulatedTextBox(std::u16string_view text = {});

  HRESULT get_Text(BSTR* text) override;
  HRESULT put_Text(BSTR text) override;
  HRESULT put_SelStart(LONG start) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;
  HRESULT get_SelStart(LONG* start) override;
  HRESULT get_SelLength(LONG* length) override;
  HRESULT put_SelLength(LONG length) override;
  HRESULT get_SelText(BSTR* text) override;
  HRESULT put_SelText(BSTR text) override;

  // What a user's typing does: replaces the text and raises Change.
  void type(std::u16string_view text);

  const std::u16string& text() const { return text_; }
  LONG selStart() const { return selStart_; }
  LONG selLength() const { return selLength_; }
  bool enabled() const { return enabled_; }
  // Times the caret was set through SelStart.
  int selStartWrites() const { return selStartWrites_; }

 private:
  void setText(std::u16string_view text);
  LONG length() const { return static_cast<LONG>(text_.size()); }

  std::u16string text_;
  LONG selStart_ = 0;
  LONG selLength_ = 0;
  bool enabled_ = true;
  int selStartWrites_ = 0;
};

}  // namespace skiffwire

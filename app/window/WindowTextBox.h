// A text box over the platform's EDIT control: Change is raised when the
// user edits the text and when Text let changes it (a multi-line EDIT does
// not report a text set by the program, so the box raises it itself, once).
#pragma once

#include "app/members/ITextBox.h"
#include "app/window/WindowControl.h"

namespace skiffwire {

class WindowTextBox final : public WindowControl<WindowTextBox, ITextBox> {
 public:
  WindowTextBox();

  HRESULT get_Text(BSTR* text) override;
  HRESULT put_Text(BSTR text) override;
  HRESULT put_SelStart(LONG start) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;
  HRESULT get_SelStart(LONG* start) override;
  HRESULT get_SelLength(LONG* length) override;
  HRESULT put_SelLength(LONG length) override;
  HRESULT get_SelText(BSTR* text) override;
  HRESULT put_SelText(BSTR text) override;

  void onNotification(WORD code) override;

 private:
  // The selection's start and end (characters).
  void selection(DWORD* start, DWORD* end) const;

  bool settingText_ = false;
};

}  // namespace skiffwire

// Form1 on the desktop: the form window with its frames and controls built
// from Form1Layout (scaled to the display's resolution, in the system's
// message font), the two socket controls created through the class
// registry, each object in its member slot of Form1's compiled form class,
// and the handled members connected to their sinks.
#pragma once

#include <vector>

#include "app/form1/Form1Form.h"
#include "app/window/WindowForm.h"
#include "platform/gdi.h"

namespace skiffwire {

class Form1Window {
 public:
  // Builds the hidden window and its controls; status() tells whether all
  // of it, the socket controls and the event connections succeeded. The
  // socket control's class must be registered.
  Form1Window();
  ~Form1Window();
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  HRESULT status() const { return status_; }

  // Loads the form (its load handler runs) and shows it.
  void show() { form_->show(); }
  HWND hwnd() const { return form_->hwnd(); }
  WindowForm& form() { return *form_; }
  Form1& code() { return *compiled_->code(); }
  Form1Form& compiledForm() { return *compiled_; }
  // The window of a control by its name (the first of that name).
  HWND windowOf(std::u16string_view name) const;

 private:
  HRESULT build();
  HRESULT createControl(size_t index, HWND container);

  HRESULT status_ = S_OK;
  HFONT font_ = nullptr;
  ComPtr<WindowForm> form_;
  std::vector<HWND> windows_;
  ComPtr<Form1Form> compiled_;
};

}  // namespace skiffwire

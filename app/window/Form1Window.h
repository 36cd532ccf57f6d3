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
#include "runtime/forms/arrays/ControlArray.h"
#include "runtime/forms/arrays/ControlsCollection.h"

namespace skiffwire {

// It is also the engine its control array (the sixteen lblTitle labels) and
// its controls collection ask for the work on the form.
class Form1Window final : private rt::ControlArrayHost, private rt::ControlsCollectionHost {
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
  // The caption labels as one control array, and the form's controls.
  rt::ControlArray& titles() { return *titles_; }
  rt::ControlsCollection& controlsCollection() { return *collection_; }
  // The window of a control object of this form; null for none.
  HWND windowOfControl(IUnknown* control) const;

 private:
  HRESULT build();
  HRESULT createControl(size_t index, HWND container);

  // ---- The engine's side of the array and the collection
  HRESULT ensureFormLoaded() override;
  HRESULT createElement(IUnknown* templateElement, REFCLSID elementClass, const IID* events,
                        LONG index, IUnknown** element) override;
  bool createdAtRunTime(IUnknown* element) override;
  void removeElement(IUnknown* element) override;
  void elementAdded(IUnknown*) override {}
  void elementRemoved(IUnknown*) override {}
  std::u16string nameOf(IUnknown* control) override;
  rt::ControlArray* arrayOf(IUnknown* control) override;
  bool isEngineControl(IUnknown* control) override;
  void removeControl(IUnknown* control) override { removeElement(control); }
  // The designed control's position in the layout; -1 for none.
  int layoutIndexOf(IUnknown* control) const;

  // A control made at run time: its window and its name.
  struct RunTimeControl {
    ComPtr<IUnknown> object;
    HWND hwnd;
    std::u16string name;
  };
  const RunTimeControl* runTimeControl(IUnknown* control) const;

  HRESULT status_ = S_OK;
  ComPtr<rt::ControlArray> titles_;
  LONG titleCount_ = 0;
  ComPtr<rt::ControlsCollection> collection_;
  std::vector<RunTimeControl> runTime_;
  HFONT font_ = nullptr;
  ComPtr<WindowForm> form_;
  std::vector<HWND> windows_;
  ComPtr<Form1Form> compiled_;
};

}  // namespace skiffwire

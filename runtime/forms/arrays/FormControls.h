// The form engine's side of a compiled form's control arrays and controls
// collection: one object per compiled form instance, made when its design
// is read and detached when the instance goes away.
//
// The design loader registers every designed control (depth-first, the form
// itself excluded) and creates one ControlArray per array name, stored in
// the member slot of the array's first element; the controls collection is
// built over the designed controls once the design is read. As the host of
// both, this object works on the form's records: it loads the form, makes
// a new element from its template (same class, properties copied by name,
// placed like the template, hidden, marked as created at run time, its
// events connected to the array's member sink) and takes unloaded elements
// and removed controls off the form.
//
// Reentrancy: making an element creates its window and copies properties
// through the elements' dispatch interfaces; the element's events are
// connected by then, so the form's handlers may run (Change of a caption).
#pragma once

#include <string>
#include <vector>

#include "runtime/com/ComObject.h"
#include "runtime/forms/arrays/ControlArray.h"
#include "runtime/forms/arrays/ControlsCollection.h"

namespace rt {

class CompiledForm;
class EngineControl;
class FormState;
struct ControlRecord;

class FormControls final : public ComObject<FormControls, IUnknown>,
                           public ControlArrayHost,
                           public ControlsCollectionHost {
 public:
  // form: the instance (not counted: it outlives its design's loading and
  // detaches this object when it goes away); formObject: its Form object.
  FormControls(CompiledForm& form, EngineControl* formObject);

  // ---- Design loading
  // A designed control other than the form, in design order.
  void addDesignedControl(IUnknown* control);
  // The array of that name (names compare as control names); null if none.
  ControlArray* arrayNamed(std::u16string_view name) const;
  // A new array whose element table lives in member slot `member`.
  ControlArray& addArray(std::u16string name, REFCLSID elementClass, const IID* events,
                         DISPID member);
  // The member id of an array of this form; -1 if it is none.
  DISPID memberOf(const ControlArray& array) const;
  // The design is read: the controls collection is built over it.
  void finishDesign();
  // The instance is going away: every later operation fails, and the
  // arrays and the collection no longer keep this object alive.
  void detach();

  // The controls collection (null before the design is read).
  ControlsCollection* collection() const { return collection_.Get(); }
  EngineControl* formObject() const { return formObject_; }
  CompiledForm* compiledForm() const { return form_; }

  // ---- ControlArrayHost and ControlsCollectionHost
  HRESULT ensureFormLoaded() override;
  HRESULT createElement(IUnknown* templateElement, REFCLSID elementClass, const IID* events,
                        LONG index, IUnknown** element) override;
  bool keepsTable(const ControlArray& array) override;
  bool createdAtRunTime(IUnknown* control) override;
  void removeElement(IUnknown* element) override;
  void elementAdded(IUnknown* element) override;
  void elementRemoved(IUnknown* element) override;
  std::u16string nameOf(IUnknown* control) override;
  ControlArray* arrayOf(IUnknown* control) override;
  bool isEngineControl(IUnknown* control) override;
  void removeControl(IUnknown* control) override;

 private:
  ~FormControls() override = default;
  friend class ComObject<FormControls, IUnknown>;

  struct NamedArray {
    std::u16string name;
    ComPtr<ControlArray> array;
    DISPID member;
  };

  FormState* formState() const;
  // The live record of a control of this form; null if it is none.
  ControlRecord* recordOf(IUnknown* control) const;
  // Takes a control off the form: its events, its container's event-sink
  // list, its window and its record.
  void takeOff(ControlRecord& record, IUnknown* control);

  CompiledForm* form_;         // null once detached
  EngineControl* formObject_;  // not counted; null once detached
  std::vector<ComPtr<IUnknown>> designed_;
  std::vector<NamedArray> arrays_;
  ComPtr<ControlsCollection> collection_;
};

// The registry of this thread's form instances and their FormControls.
// Attach replaces (and detaches) what the instance had before.
FormControls& AttachFormControls(CompiledForm& form, EngineControl* formObject);
void DetachFormControls(CompiledForm& form);
// By the Form object; null when its design made none.
FormControls* FindFormControls(EngineControl* formObject);

// The controls collection of a form (its Form object's "Controls"); the
// form is loaded first. E_FAIL when the form was not read from a design.
HRESULT ControlsCollectionOf(EngineControl* formObject, IDispatch** collection);

}  // namespace rt

// What a compiled form class (such as the application's main form) offers
// the engine and the design loader.
//
// A compiled form instance contains its Form object (the runtime's Form
// control, which implements EngineControl and owns the form's FormState) and
// one member slot per design object, filled depth-first by the design loader
// (the Form object's own slot first, then each container followed by its
// children); the elements of a control array share one slot, the one of
// its first element, which holds the array object. The loader connects each member whose design asks for events to
// the form's sink for that member id. The instance's IDispatch answers the
// Form's inherited members (Show, Caption, ...) by forwarding them to the
// contained Form object; the process entry calls "Show" by name.
#pragma once

#include <span>

#include "platform/com.h"

namespace rt {

class EngineControl;

// {5C0F7E44-2B8E-4D0C-9A57-1E3A6B7C8D01}
inline constexpr IID IID_CompiledForm{
    0x5C0F7E44, 0x2B8E, 0x4D0C, {0x9A, 0x57, 0x1E, 0x3A, 0x6B, 0x7C, 0x8D, 0x01}};

class CompiledForm : public IUnknown {
 public:
  // The slot of the form's design in the design table (0 to 8091).
  virtual int designIndex() = 0;
  // The member slots, in design order; the loader stores each object in the
  // next slot (releasing what a slot held, unless it is the same object).
  virtual std::span<ComPtr<IUnknown>> memberSlots() = 0;
  // The dispatch object that receives the events of the member with this
  // id (the id is the slot index); null when the form handles none.
  virtual IDispatch* eventSinkForMember(DISPID memberId) = 0;
  // The contained Form object (not counted); null before the design is read.
  virtual EngineControl* formObject() = 0;
};

// How the process entry creates the start-up form.
using CompiledFormCreator = HRESULT (*)(IUnknown** form);

}  // namespace rt

template <>
struct InterfaceId<rt::CompiledForm> {
  static constexpr const IID& value = rt::IID_CompiledForm;
};

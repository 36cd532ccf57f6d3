// A form's controls collection: the designed controls (the compiled form's
// member slots from the first control's on) followed by the controls added
// at run time, by position or by name.
//
// Looking up by name ignores case, kana type and character width; the first
// match wins, and a match that is an element of a control array answers the
// array instead. Names and arrays come from the host (the form's engine).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"

namespace rt {

class ControlArray;

class ControlsCollectionHost {
 public:
  virtual HRESULT ensureFormLoaded() = 0;
  // The control's name; empty for an object that is no control.
  virtual std::u16string nameOf(IUnknown* control) = 0;
  // The array the control is an element of; null when none (not counted).
  virtual ControlArray* arrayOf(IUnknown* control) = 0;
  // Whether this engine made the control, and whether it did so at run time.
  virtual bool isEngineControl(IUnknown* control) = 0;
  virtual bool createdAtRunTime(IUnknown* control) = 0;
  // Takes the control off the form: its window (or, windowless, its
  // class drops it), its container's event-sink and child lists.
  virtual void removeControl(IUnknown* control) = 0;

 protected:
  ~ControlsCollectionHost() = default;
};

class ControlsCollection final : public ComObject<ControlsCollection, IDispatch> {
 public:
  static constexpr DISPID kItem = 0;
  static constexpr DISPID kCount = 1;
  static constexpr DISPID kRemove = 2;

  // designed: the form instance's slots of its designed controls (they stay
  // the form's; the collection reads them as they are). host outlives the
  // collection.
  ControlsCollection(ControlsCollectionHost& host, std::span<ComPtr<IUnknown>> designed);

  // Keeps the object that owns the host (and the designed slots) alive as
  // long as the collection.
  void keepHostAlive(IUnknown* owner) { hostOwner_ = owner; }

  // A control added at run time (Add control, a loaded array element).
  void addRunTimeControl(IUnknown* control);
  // Drops a run-time control the engine removed by another way (an
  // unloaded array element); later entries move down by one.
  void forgetRunTimeControl(IUnknown* control);

  LONG count() const;
  // By position (a number) or by name (a text); see the header comment.
  // Errors: 91 for a null object, 94 for Null, 9 for a position outside,
  // 731 "Control '<name>' not found", the general failure for "".
  HRESULT item(const VARIANT& index, IDispatch** control);
  // Removes a control added at run time (error 362 for a designed one).
  HRESULT remove(const VARIANT& controlOrName);

  // ---- IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

 private:
  ~ControlsCollection() override = default;
  friend class ComObject<ControlsCollection, IDispatch>;

  IUnknown* at(LONG position) const;
  HRESULT byPosition(LONG position, IDispatch** control);
  HRESULT byName(std::u16string_view name, IDispatch** control);

  ControlsCollectionHost* host_;  // not owned
  ComPtr<IUnknown> hostOwner_;
  std::span<ComPtr<IUnknown>> designed_;
  std::vector<ComPtr<IUnknown>> runTime_;
};

// Whether two control names are the same: case, kana type and character
// width do not count.
bool SameControlName(std::u16string_view a, std::u16string_view b);

}  // namespace rt

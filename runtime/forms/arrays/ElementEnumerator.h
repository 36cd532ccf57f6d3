// The enumerator of a control array's elements (For Each): the loaded
// elements in index order, each handed out as a VT_DISPATCH variant. It
// holds a reference to its array and reads the table as it goes, so an
// element loaded or unloaded meanwhile is seen or skipped by position.
#pragma once

#include "runtime/com/ComObject.h"

namespace rt {

class ControlArray;

// The platform's enumerator interface, in its member order.
struct IEnumVARIANT : IUnknown {
  virtual HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumVARIANT** copy) = 0;

 protected:
  ~IEnumVARIANT() = default;
};

}  // namespace rt

template <>
struct InterfaceId<rt::IEnumVARIANT> {
  static constexpr const IID& value = IID_IEnumVARIANT;
};

namespace rt {

class ElementEnumerator final : public ComObject<ElementEnumerator, IEnumVARIANT> {
 public:
  explicit ElementEnumerator(ComPtr<ControlArray> array, LONG position = 0);

  HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumVARIANT** copy) override;

 private:
  ~ElementEnumerator() override;
  friend class ComObject<ElementEnumerator, IEnumVARIANT>;

  // Moves to the next loaded element from position_ on; false at the end.
  bool advance();

  ComPtr<ControlArray> array_;
  LONG position_;
};

}  // namespace rt

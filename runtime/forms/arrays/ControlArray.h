// A control array: the controls of one class that share a name on a form,
// told apart by an index. The array keeps the element table (element i at
// position i, lower bound 0), the count of loaded elements and the bounds it
// reports; its host does the work on the form (ControlArrayHost).
//
// Dispatch: "Item" (0, the default member), "Count" (1), "LBound" (2),
// "UBound" (3), one name per lookup, any case; DISPID_NEWENUM enumerates
// the elements.
//
// Reentrancy: loading and unloading call into the host, which creates and
// destroys windows (messages are pumped while a new element takes its
// template's properties). A handler run meanwhile may use the array; the
// table is only changed once the host has finished.
#pragma once

#include <vector>

#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/forms/arrays/ControlArrayHost.h"

namespace rt {

// Elements of this class tell the form's event sinks when they come and go.
// {33AD4F68-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_NotifyingArrayElement{
    0x33AD4F68, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

class ControlArray final : public ComObject<ControlArray, IDispatch> {
 public:
  static constexpr DISPID kItem = 0;
  static constexpr DISPID kCount = 1;
  static constexpr DISPID kLBound = 2;
  static constexpr DISPID kUBound = 3;

  // host: outlives the array (the form's engine). events: null, or the
  // interface through which the form receives the elements' events.
  ControlArray(ControlArrayHost& host, REFCLSID elementClass, const IID* events);

  // Keeps the object that owns the host alive as long as the array (a
  // program may hold the array longer than its form's engine keeps it).
  void keepHostAlive(IUnknown* owner) { hostOwner_ = owner; }

  // Design loading: the design's element `index`; no host call, no checks
  // beyond an index that is negative or taken (E_INVALIDARG).
  HRESULT addDesignedElement(LONG index, IUnknown* element);

  // The element at index, counted. With the load or unload flag armed
  // (ArrayRouting.h) it loads or unloads that element instead and answers
  // null. An index without an element fails with run-time error 340
  // ("Control array element does not exist").
  HRESULT Item(LONG index, IDispatch** element);
  HRESULT get_Count(LONG* count);
  HRESULT get_LBound(LONG* bound);
  HRESULT get_UBound(LONG* bound);
  // An enumerator (IEnumVARIANT) over the loaded elements in index order.
  HRESULT newEnum(IUnknown** enumerator);

  // Load and Unload of one element (run-time errors 341, 360, 340, 362).
  HRESULT loadElement(LONG index);
  HRESULT unloadElement(LONG index);

  // The element at index or null (not counted); the table's length.
  IUnknown* elementAt(LONG index) const;
  LONG tableLength() const { return static_cast<LONG>(table_.size()); }

  // ---- IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

 private:
  ~ControlArray() override = default;
  friend class ComObject<ControlArray, IDispatch>;

  HRESULT returnElement(LONG index, IDispatch** element);
  // Puts the element at index, growing the table (and the upper bound) when
  // the index lies beyond it.
  void store(LONG index, ComPtr<IUnknown> element);
  IUnknown* firstElement() const;

  ControlArrayHost* host_;  // not owned
  ComPtr<IUnknown> hostOwner_;
  CLSID elementClass_;
  IID events_{};
  bool hasEvents_ = false;
  std::vector<ComPtr<IUnknown>> table_;
  LONG count_ = 0;
  LONG upperBound_ = -1;
};

}  // namespace rt

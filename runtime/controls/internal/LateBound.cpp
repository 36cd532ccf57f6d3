#include "runtime/controls/internal/LateBound.h"

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

HRESULT IdOfName(IDispatch* object, std::u16string& name, DISPID* id) {
  if (!object) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  LPOLESTR names[] = {name.data()};
  return object->GetIDsOfNames(IID_NULL, names, 1, 0, id);
}

HRESULT TakeObject(Variant& value, ComPtr<IDispatch>& out) {
  out = nullptr;
  if (value.vt != VT_DISPATCH && value.vt != VT_UNKNOWN) return E_NOINTERFACE;
  if (!value.punkVal) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  if (value.vt == VT_DISPATCH) {
    out = value.pdispVal;
    return S_OK;
  }
  return value.punkVal->QueryInterface(IID_IDispatch,
                                       reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
}

}  // namespace

HRESULT GetPropertyByName(IDispatch* object, std::u16string name, Variant& value) {
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found = IdOfName(object, name, &id);
  if (FAILED(found)) return found;
  DISPPARAMS none{};
  return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.out(), nullptr,
                        nullptr);
}

HRESULT GetObjectByName(IDispatch* object, std::u16string name, ComPtr<IDispatch>& value) {
  Variant result;
  const HRESULT status = GetPropertyByName(object, std::move(name), result);
  if (FAILED(status)) return status;
  return TakeObject(result, value);
}

HRESULT ItemAt(IDispatch* collection, LONG position, ComPtr<IDispatch>& item) {
  std::u16string name = u"Item";
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found = IdOfName(collection, name, &id);
  if (FAILED(found)) return found;
  Variant index = Variant::I4(position);
  DISPPARAMS params{&index, nullptr, 1, 0};
  Variant result;
  const HRESULT status = collection->Invoke(id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                            &params, result.out(), nullptr, nullptr);
  if (FAILED(status)) return status;
  return TakeObject(result, item);
}

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  ComPtr<IUnknown> left, right;
  a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(left.ReleaseAndGetAddressOf()));
  b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(right.ReleaseAndGetAddressOf()));
  return left && left.Get() == right.Get();
}

}  // namespace rt

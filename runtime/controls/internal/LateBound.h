// Late-bound calls by name, the way the controls reach each other through
// their dispatch interfaces (a derived control's own member answers).
#pragma once

#include <string>

#include "platform/com.h"
#include "platform/oleauto.h"

namespace rt {

// A property get of `name` on `object`.
HRESULT GetPropertyByName(IDispatch* object, std::u16string name, Variant& value);
// An object-valued property get; a result that is no object fails with
// E_NOINTERFACE, Nothing with error 91.
HRESULT GetObjectByName(IDispatch* object, std::u16string name, ComPtr<IDispatch>& value);
// The collection's item at a position (its "Item" member).
HRESULT ItemAt(IDispatch* collection, LONG position, ComPtr<IDispatch>& item);
// Whether two interface pointers are the same object (compared as IUnknown).
bool SameObject(IUnknown* a, IUnknown* b);

}  // namespace rt

#include "runtime/forms/arrays/ControlArray.h"

#include <string_view>

#include "platform/kernel.h"
#include "platform/oleauto.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/forms/arrays/ArrayRouting.h"
#include "runtime/forms/arrays/ElementEnumerator.h"
#include "runtime/forms/internal/FormErrors.h"

namespace rt {

namespace {

constexpr int kElementMissing = 340;
constexpr int kInvalidIndex = 341;
constexpr int kAlreadyLoaded = 360;
constexpr int kDesignTimeControl = 362;

HRESULT InvalidIndex() {
  return RaiseEngineError(kInvalidIndex, u"Invalid control array index");
}

bool SameName(const char16_t* name, std::u16string_view wanted) {
  if (!name) return false;
  const std::u16string_view given(name);
  return given.size() == wanted.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name, static_cast<int>(given.size()),
                        wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL;
}

HRESULT PutLong(VARIANT* result, LONG value) {
  if (!result) return S_OK;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
  return S_OK;
}

}  // namespace

ControlArray::ControlArray(ControlArrayHost& host, REFCLSID elementClass, const IID* events)
    : host_(&host), elementClass_(elementClass) {
  if (events) {
    events_ = *events;
    hasEvents_ = true;
  }
}

HRESULT ControlArray::addDesignedElement(LONG index, IUnknown* element) {
  if (index < 0 || !element || elementAt(index)) return E_INVALIDARG;
  store(index, ComPtr<IUnknown>(element));
  return S_OK;
}

IUnknown* ControlArray::elementAt(LONG index) const {
  if (index < 0 || index >= tableLength()) return nullptr;
  return table_[static_cast<size_t>(index)].Get();
}

IUnknown* ControlArray::firstElement() const {
  for (const ComPtr<IUnknown>& element : table_) {
    if (element) return element.Get();
  }
  return nullptr;
}

void ControlArray::store(LONG index, ComPtr<IUnknown> element) {
  if (index >= tableLength()) {
    table_.resize(static_cast<size_t>(index) + 1);
    if (index > upperBound_) upperBound_ = index;
  }
  table_[static_cast<size_t>(index)] = std::move(element);
  ++count_;
}

HRESULT ControlArray::Item(LONG index, IDispatch** element) {
  if (!element) return E_POINTER;
  *element = nullptr;
  const ArrayRoute route = TakeArrayRoute();
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  switch (route) {
    case ArrayRoute::LoadElement:
      return loadElement(index);
    case ArrayRoute::UnloadElement:
      return unloadElement(index);
    case ArrayRoute::None:
      return returnElement(index, element);
  }
  return E_UNEXPECTED;
}

HRESULT ControlArray::returnElement(LONG index, IDispatch** element) {
  IUnknown* found = elementAt(index);
  if (!found) {
    return RaiseEngineError(kElementMissing, u"Control array element does not exist");
  }
  return found->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(element));
}

HRESULT ControlArray::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  *count = count_;
  return S_OK;
}

HRESULT ControlArray::get_LBound(LONG* bound) {
  if (!bound) return E_POINTER;
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  *bound = 0;
  return S_OK;
}

HRESULT ControlArray::get_UBound(LONG* bound) {
  if (!bound) return E_POINTER;
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  *bound = upperBound_;
  return S_OK;
}

HRESULT ControlArray::newEnum(IUnknown** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  ComPtr<ElementEnumerator> made = MakeComObject<ElementEnumerator>(ComPtr<ControlArray>(this));
  *enumerator = made->unknown();
  (*enumerator)->AddRef();
  return S_OK;
}

HRESULT ControlArray::loadElement(LONG index) {
  if (index < 0) return InvalidIndex();
  if (elementAt(index)) return RaiseEngineError(kAlreadyLoaded, u"Object already loaded");
  ComPtr<IUnknown> templateElement(firstElement());
  if (!templateElement) return SetErrorFromStatus(E_FAIL);
  ComPtr<IUnknown> element;
  const HRESULT created = host_->createElement(templateElement.Get(), elementClass_,
                                               hasEvents_ ? &events_ : nullptr, index, &element);
  if (FAILED(created)) return created;
  if (!element) return SetErrorFromStatus(E_FAIL);
  // A handler run while the element was made may have loaded this index.
  if (elementAt(index)) {
    host_->removeElement(element.Get());
    return RaiseEngineError(kAlreadyLoaded, u"Object already loaded");
  }
  store(index, element);
  if (elementClass_ == CLSID_NotifyingArrayElement) host_->elementAdded(element.Get());
  return S_OK;
}

HRESULT ControlArray::unloadElement(LONG index) {
  if (index < 0) return InvalidIndex();
  if (!host_->keepsTable(*this)) return SetErrorFromStatus(E_FAIL);
  IUnknown* found = elementAt(index);
  if (!found) return RaiseEngineError(kElementMissing, u"Control array element doesn't exist");
  if (!host_->createdAtRunTime(found)) {
    return RaiseEngineError(kDesignTimeControl, u"Can't unload controls created at design time");
  }
  ComPtr<IUnknown> element = std::move(table_[static_cast<size_t>(index)]);
  --count_;
  host_->removeElement(element.Get());
  if (elementClass_ == CLSID_NotifyingArrayElement) host_->elementRemoved(element.Get());
  return S_OK;
}

HRESULT ControlArray::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  // One name per lookup: an array has no named arguments.
  if (count != 1) return DISP_E_UNKNOWNNAME;
  const struct {
    std::u16string_view name;
    DISPID id;
  } kMembers[] = {{u"Item", kItem}, {u"Count", kCount}, {u"LBound", kLBound}, {u"UBound", kUBound}};
  for (const auto& member : kMembers) {
    if (!SameName(names[0], member.name)) continue;
    ids[0] = member.id;
    return S_OK;
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT ControlArray::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO*, UINT* argErr) {
  const UINT arguments = params ? params->cArgs : 0;
  LONG value = 0;
  switch (id) {
    case kItem: {
      if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
      if (arguments != 1) return DISP_E_BADPARAMCOUNT;
      Variant index;
      if (FAILED(VariantChangeType(index.out(), &params->rgvarg[0], 0, VT_I4))) {
        if (argErr) *argErr = 0;
        return DISP_E_TYPEMISMATCH;
      }
      ComPtr<IDispatch> element;
      if (HRESULT hr = Item(index.lVal, &element); FAILED(hr)) return hr;
      if (!result) return S_OK;
      VariantInit(result);
      result->vt = VT_DISPATCH;
      result->pdispVal = element.Detach();
      return S_OK;
    }
    case kCount:
    case kLBound:
    case kUBound: {
      if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
      if (arguments != 0) return DISP_E_BADPARAMCOUNT;
      const HRESULT hr = id == kCount    ? get_Count(&value)
                         : id == kLBound ? get_LBound(&value)
                                         : get_UBound(&value);
      return FAILED(hr) ? hr : PutLong(result, value);
    }
    case DISPID_NEWENUM: {
      ComPtr<IUnknown> enumerator;
      if (HRESULT hr = newEnum(&enumerator); FAILED(hr)) return hr;
      if (!result) return S_OK;
      VariantInit(result);
      result->vt = VT_UNKNOWN;
      result->punkVal = enumerator.Detach();
      return S_OK;
    }
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace rt

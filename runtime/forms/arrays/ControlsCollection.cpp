#include "runtime/forms/arrays/ControlsCollection.h"

#include <algorithm>

#include "platform/kernel.h"
#include "platform/oleauto.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/arrays/ControlArray.h"
#include "runtime/forms/internal/FormErrors.h"

namespace rt {

namespace {

constexpr int kObjectNotSet = 91;
constexpr int kInvalidUseOfNull = 94;
constexpr int kSubscriptOutOfRange = 9;
constexpr int kControlNotFound = 731;
constexpr int kDesignTimeControl = 362;

// The value of an object argument: its default member.
HRESULT DefaultValueOf(IUnknown* object, Variant& value) {
  if (!object) return SetErrorFromStatus(ErrorStatus(kObjectNotSet));
  ComPtr<IDispatch> dispatch;
  if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    return DISP_E_TYPEMISMATCH;
  }
  DISPPARAMS none{};
  return dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.out(),
                          nullptr, nullptr);
}

const VARIANT& Dereferenced(const VARIANT& value) {
  if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal) return *value.pvarVal;
  return value;
}

std::u16string_view ViewOf(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

bool IsObject(const VARIANT& value) {
  return value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN;
}

}  // namespace

bool SameControlName(std::u16string_view a, std::u16string_view b) {
  constexpr DWORD kFlags = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
  return CompareStringW(LOCALE_INVARIANT, kFlags, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

ControlsCollection::ControlsCollection(ControlsCollectionHost& host,
                                       std::span<ComPtr<IUnknown>> designed)
    : host_(&host), designed_(designed) {}

void ControlsCollection::addRunTimeControl(IUnknown* control) {
  if (control) runTime_.emplace_back(control);
}

LONG ControlsCollection::count() const {
  return static_cast<LONG>(designed_.size() + runTime_.size());
}

IUnknown* ControlsCollection::at(LONG position) const {
  const size_t p = static_cast<size_t>(position);
  if (p < designed_.size()) return designed_[p].Get();
  return runTime_[p - designed_.size()].Get();
}

HRESULT ControlsCollection::item(const VARIANT& given, IDispatch** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
  Variant value;
  const VARIANT* index = &Dereferenced(given);
  if (IsObject(*index)) {
    if (HRESULT hr = DefaultValueOf(index->punkVal, value); FAILED(hr)) return hr;
    index = &value;
  }
  if (index->vt == VT_NULL) return SetErrorFromStatus(ErrorStatus(kInvalidUseOfNull));
  if (index->vt == VT_BSTR) return byName(ViewOf(index->bstrVal), control);
  if (index->vt == (VT_BSTR | VT_BYREF) && index->pbstrVal) {
    return byName(ViewOf(*index->pbstrVal), control);
  }
  Variant position;
  if (HRESULT hr = VariantChangeType(position.out(), index, 0, VT_I4); FAILED(hr)) return hr;
  return byPosition(position.lVal, control);
}

HRESULT ControlsCollection::byPosition(LONG position, IDispatch** control) {
  if (position < 0 || position >= count()) {
    return SetErrorFromStatus(ErrorStatus(kSubscriptOutOfRange));
  }
  IUnknown* found = at(position);
  if (!found) return SetErrorFromStatus(ErrorStatus(kSubscriptOutOfRange));
  return found->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(control));
}

HRESULT ControlsCollection::byName(std::u16string_view name, IDispatch** control) {
  if (name.empty()) return E_FAIL;
  for (LONG p = 0; p < count(); ++p) {
    IUnknown* candidate = at(p);
    if (!candidate || !SameControlName(host_->nameOf(candidate), name)) continue;
    if (ControlArray* array = host_->arrayOf(candidate)) {
      *control = array;
      array->AddRef();
      return S_OK;
    }
    return candidate->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(control));
  }
  const std::u16string text = u"Control '" + std::u16string(name) + u"' not found";
  return RaiseEngineError(kControlNotFound, text.c_str());
}

HRESULT ControlsCollection::remove(const VARIANT& given) {
  const VARIANT& value = Dereferenced(given);
  ComPtr<IUnknown> control;
  if (IsObject(value)) {
    if (!value.punkVal) return SetErrorFromStatus(ErrorStatus(kObjectNotSet));
    control = value.punkVal;
  } else {
    ComPtr<IDispatch> found;
    if (HRESULT hr = item(value, &found); FAILED(hr)) return hr;
    control = found;
  }
  if (!host_->isEngineControl(control.Get())) return E_INVALIDARG;
  if (!host_->createdAtRunTime(control.Get())) {
    return RaiseEngineError(kDesignTimeControl, u"Can't unload controls created at design time");
  }
  host_->removeControl(control.Get());
  forgetRunTimeControl(control.Get());
  return S_OK;
}

void ControlsCollection::forgetRunTimeControl(IUnknown* control) {
  if (!control) return;
  // Identity of COM objects is their IUnknown.
  ComPtr<IUnknown> identity;
  control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  std::erase_if(runTime_, [&identity](const ComPtr<IUnknown>& entry) {
    ComPtr<IUnknown> other;
    entry->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&other));
    return other.Get() == identity.Get();
  });
}

HRESULT ControlsCollection::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  if (count != 1 || !names[0]) return DISP_E_UNKNOWNNAME;
  const struct {
    std::u16string_view name;
    DISPID id;
  } kMembers[] = {{u"Item", kItem}, {u"Count", kCount}, {u"Remove", kRemove}};
  for (const auto& member : kMembers) {
    if (!SameControlName(names[0], member.name)) continue;
    ids[0] = member.id;
    return S_OK;
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT ControlsCollection::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) {
  const UINT arguments = params ? params->cArgs : 0;
  switch (id) {
    case kItem: {
      if (arguments != 1) return DISP_E_BADPARAMCOUNT;
      ComPtr<IDispatch> control;
      if (HRESULT hr = item(params->rgvarg[0], &control); FAILED(hr)) return hr;
      if (!result) return S_OK;
      VariantInit(result);
      result->vt = VT_DISPATCH;
      result->pdispVal = control.Detach();
      return S_OK;
    }
    case kCount:
      if (arguments != 0) return DISP_E_BADPARAMCOUNT;
      if (HRESULT hr = host_->ensureFormLoaded(); FAILED(hr)) return hr;
      if (!result) return S_OK;
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = count();
      return S_OK;
    case kRemove:
      if (arguments != 1) return DISP_E_BADPARAMCOUNT;
      return remove(params->rgvarg[0]);
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace rt

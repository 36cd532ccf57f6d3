#include "runtime/forms/arrays/FormControls.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/user.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/forms/CompiledForm.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowRecord.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/FormDesignLoader.h"
#include "runtime/forms/design/Layout.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {
namespace {

// Window records that ask for their container's events by flag.
constexpr uint32_t kEventFlags = 0x60000000;

// Properties a new element does not take from its template: its identity,
// its engine plumbing and its visibility (it starts hidden).
constexpr std::array<std::u16string_view, 13> kNotCopied = {u"ControlContext",
                                                            u"Appearance",
                                                            u"Visible",
                                                            u"IndexINIT",
                                                            u"_Default",
                                                            u"RootWindowElement",
                                                            u"RootWindowElementBase",
                                                            u"Handle",
                                                            u"hDC",
                                                            u"hWnd",
                                                            u"RealHDC",
                                                            u"Font",
                                                            u"IsDesignMode"};

bool Copied(std::u16string_view name) {
  return std::none_of(kNotCopied.begin(), kNotCopied.end(), [&](std::u16string_view excluded) {
    return SameControlName(excluded, name);
  });
}

ComPtr<IUnknown> IdentityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  if (object) object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  return identity;
}

ComPtr<IDispatch> DispatchOf(IUnknown* object) {
  ComPtr<IDispatch> dispatch;
  if (object) object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  return dispatch;
}

DISPID IdOf(IDispatch* object, std::u16string_view name) {
  std::u16string text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) return DISPID_UNKNOWN;
  return id;
}

HRESULT GetProperty(IDispatch* object, std::u16string_view name, Variant& value) {
  const DISPID id = IdOf(object, name);
  if (id == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  DISPPARAMS none{};
  return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.out(), nullptr,
                        nullptr);
}

HRESULT PutProperty(IDispatch* object, std::u16string_view name, const VARIANT& value) {
  const DISPID id = IdOf(object, name);
  if (id == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  VARIANT argument = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&argument, &named, 1, 1};
  const bool object_ = value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN;
  return object->Invoke(id, IID_NULL, 0, object_ ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT,
                        &params, nullptr, nullptr, nullptr);
}

// Copies one property by name; a value the template does not give or the
// element does not take is skipped.
void CopyProperty(IDispatch* from, IDispatch* to, std::u16string_view fromName,
                  std::u16string_view toName) {
  Variant value;
  if (FAILED(GetProperty(from, fromName, value))) return;
  PutProperty(to, toName, value);
}

std::u16string Widened(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// Every property the class stores in its design, except those a new
// element keeps for itself; then the template's font.
void CopyTemplateProperties(IDispatch* from, IDispatch* to, const PropertyLayout* layout) {
  if (layout) {
    for (const PropertyField& field : layout->fields) {
      const std::u16string name = Widened(field.name);
      if (Copied(name)) CopyProperty(from, to, name, name);
    }
  }
  CopyProperty(from, to, u"Font", u"SetFontInitData");
}

struct Registry {
  std::vector<ComPtr<FormControls>> forms;
};

// The messages a new element's property changes queued, one at a time; a
// handler that keeps posting cannot hold the load here for ever.
void PumpQueued() {
  constexpr int kMostMessages = 256;
  MSG msg;
  for (int i = 0; i < kMostMessages && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

Registry& Forms() {
  thread_local Registry registry;
  return registry;
}

}  // namespace

FormControls::FormControls(CompiledForm& form, EngineControl* formObject)
    : form_(&form), formObject_(formObject) {}

void FormControls::addDesignedControl(IUnknown* control) {
  if (control) designed_.emplace_back(control);
}

ControlArray* FormControls::arrayNamed(std::u16string_view name) const {
  for (const NamedArray& entry : arrays_) {
    if (SameControlName(entry.name, name)) return entry.array.Get();
  }
  return nullptr;
}

ControlArray& FormControls::addArray(std::u16string name, REFCLSID elementClass, const IID* events,
                                     DISPID member) {
  ComPtr<ControlArray> array = MakeComObject<ControlArray>(*this, elementClass, events);
  array->keepHostAlive(unknown());
  arrays_.push_back(NamedArray{std::move(name), array, member});
  return *array;
}

DISPID FormControls::memberOf(const ControlArray& array) const {
  for (const NamedArray& entry : arrays_) {
    if (entry.array.Get() == &array) return entry.member;
  }
  return -1;
}

void FormControls::finishDesign() {
  if (collection_) return;
  collection_ = MakeComObject<ControlsCollection>(*this, std::span(designed_));
  collection_->keepHostAlive(unknown());
}

void FormControls::detach() {
  form_ = nullptr;
  formObject_ = nullptr;
  // The arrays and the collection keep this object; dropping them here ends
  // the cycle (the slots and the program may still hold them).
  arrays_.clear();
  collection_ = nullptr;
}

FormState* FormControls::formState() const {
  return formObject_ ? FindFormState(formObject_) : nullptr;
}

ControlRecord* FormControls::recordOf(IUnknown* control) const {
  FormState* form = formState();
  const ComPtr<IUnknown> identity = IdentityOf(control);
  if (!form || !identity) return nullptr;
  for (const auto& record : form->records()) {
    if (record->removed || !record->container || !record->object) continue;
    if (IdentityOf(record->object.Get()).Get() == identity.Get()) return record.get();
  }
  return nullptr;
}

HRESULT FormControls::ensureFormLoaded() {
  if (!formObject_) return SetErrorFromStatus(E_FAIL);
  return EnsureFormIsLoaded(formObject_);
}

HRESULT FormControls::createElement(IUnknown* templateElement, REFCLSID elementClass,
                                    const IID* events, LONG index, IUnknown** element) {
  *element = nullptr;
  ControlRecord* model = recordOf(templateElement);
  FormState* form = formState();
  if (!model || !form || !form_) return SetErrorFromStatus(E_FAIL);

  ComPtr<IUnknown> object;
  HRESULT hr = CurrentClassRegistry().createForDesign(elementClass, &object);
  if (FAILED(hr)) return hr;
  const ComPtr<EngineControl> control = QueryInterfaceOf<EngineControl>(object.Get());
  if (!control) return SetErrorFromStatus(E_NOINTERFACE);

  ControlRecord& record = BuildControlRecord(*form, model->container, control.Get());
  record.arrayIndex = index;
  record.name = model->name;
  record.createdAtRunTime = true;
  record.placement.left = model->placement.left;
  record.placement.top = model->placement.top;
  record.placement.width = model->placement.width;
  record.placement.height = model->placement.height;
  const ComPtr<IDispatch> made = DispatchOf(object.Get());
  if (made) {
    Variant hidden;
    hidden.vt = VT_BOOL;
    hidden.boolVal = VARIANT_FALSE;
    PutProperty(made.Get(), u"Visible", hidden);
  }
  // A new element starts invisible, whatever its class asks for.
  record.window.style &= ~WS_VISIBLE;
  record.window.visibleRequested = false;

  hr = LayoutControl(record);
  if (SUCCEEDED(hr) && events) {
    const ControlArray* array = arrayOf(templateElement);
    hr = ConnectMemberEvents(*form_, object.Get(), *events, array ? memberOf(*array) : -1);
  }
  if (FAILED(hr)) {
    takeOff(record, object.Get());
    return SetErrorFromStatus(hr);
  }
  control->postLoad();
  if (record.window.asksForEvents || (record.window.flags & kEventFlags)) {
    if (const auto sink = QueryInterfaceOf<WindowEventSink>(control.Get())) {
      AddEventSink(model->container->window, sink.Get());
    }
  }
  if (collection_) collection_->addRunTimeControl(object.Get());

  const ComPtr<IDispatch> source = DispatchOf(templateElement);
  if (source && made) {
    CopyTemplateProperties(source.Get(), made.Get(), FindPropertyLayout(elementClass));
  }
  PumpQueued();
  // The template's place, whatever the copied properties did to it.
  record.placement.left = model->placement.left;
  record.placement.top = model->placement.top;
  if (source && made) {
    CopyProperty(source.Get(), made.Get(), u"Left", u"Left");
    CopyProperty(source.Get(), made.Get(), u"Top", u"Top");
  }
  *element = object.Detach();
  return S_OK;
}

bool FormControls::keepsTable(const ControlArray& array) {
  const DISPID member = memberOf(array);
  if (!form_ || member < 0) return false;
  const std::span<ComPtr<IUnknown>> slots = form_->memberSlots();
  if (static_cast<size_t>(member) >= slots.size()) return false;
  const ComPtr<IUnknown> held = IdentityOf(slots[static_cast<size_t>(member)].Get());
  return held && held.Get() == IdentityOf(const_cast<ControlArray*>(&array)->unknown()).Get();
}

bool FormControls::createdAtRunTime(IUnknown* control) {
  const ControlRecord* record = recordOf(control);
  return record && record->createdAtRunTime;
}

void FormControls::takeOff(ControlRecord& record, IUnknown* control) {
  if (form_) DisconnectMemberEvents(*form_, control);
  if (record.container) {
    if (const auto sink = QueryInterfaceOf<WindowEventSink>(record.object.Get())) {
      RemoveEventSink(record.container->window, sink.Get());
    }
  }
  RemoveControl(record);
  if (collection_) collection_->forgetRunTimeControl(control);
}

void FormControls::removeElement(IUnknown* element) {
  if (ControlRecord* record = recordOf(element)) takeOff(*record, element);
}

// The form object defines no notification for elements that come and go,
// so there is nothing to tell its sinks.
void FormControls::elementAdded(IUnknown*) {}
void FormControls::elementRemoved(IUnknown*) {}

std::u16string FormControls::nameOf(IUnknown* control) {
  const ControlRecord* record = recordOf(control);
  return record ? record->name : std::u16string();
}

ControlArray* FormControls::arrayOf(IUnknown* control) {
  const ControlRecord* record = recordOf(control);
  if (!record || record->arrayIndex < 0) return nullptr;
  return arrayNamed(record->name);
}

bool FormControls::isEngineControl(IUnknown* control) {
  return recordOf(control) != nullptr;
}

void FormControls::removeControl(IUnknown* control) {
  if (ControlRecord* record = recordOf(control)) takeOff(*record, control);
}

FormControls& AttachFormControls(CompiledForm& form, EngineControl* formObject) {
  DetachFormControls(form);
  ComPtr<FormControls> made = MakeComObject<FormControls>(form, formObject);
  Forms().forms.push_back(made);
  return *made;
}

void DetachFormControls(CompiledForm& form) {
  std::erase_if(Forms().forms, [&](ComPtr<FormControls>& entry) {
    if (entry->compiledForm() != &form) return false;
    entry->detach();
    return true;
  });
}

FormControls* FindFormControls(EngineControl* formObject) {
  if (!formObject) return nullptr;
  for (const ComPtr<FormControls>& entry : Forms().forms) {
    if (entry->formObject() == formObject) return entry.Get();
  }
  return nullptr;
}

HRESULT ControlsCollectionOf(EngineControl* formObject, IDispatch** collection) {
  if (!collection) return E_POINTER;
  *collection = nullptr;
  FormControls* controls = FindFormControls(formObject);
  if (!controls || !controls->collection()) return SetErrorFromStatus(E_FAIL);
  if (HRESULT hr = controls->ensureFormLoaded(); FAILED(hr)) return hr;
  *collection = controls->collection();
  (*collection)->AddRef();
  return S_OK;
}

}  // namespace rt

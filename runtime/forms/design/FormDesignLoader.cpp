#include "runtime/forms/design/FormDesignLoader.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/arrays/FormControls.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignIdentity.h"
#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/Layout.h"
#include "runtime/forms/design/PropertyReader.h"
#include "runtime/forms/design/internal/DesignMessages.h"

namespace rt {
namespace {

// One object of a design waiting for its form to load.
struct DesignedObject {
  ComPtr<EngineControl> control;
  PropertyReader properties;
  DesignIdentity identity;                // name and array index from its block
  std::vector<DesignedObject*> children;  // newest first
};

struct PendingDesign {
  CompiledForm* form = nullptr;  // not counted: the instance outlives its loading
  std::vector<std::unique_ptr<DesignedObject>> objects;  // the root first
};

// An event connection the design made, for unadvising.
struct Connection {
  CompiledForm* form;
  IUnknown* object;  // identity only
  ComPtr<IConnectionPoint> point;
  DWORD cookie;
};

struct LoaderState {
  std::unordered_map<FormState*, PendingDesign> pending;
  std::vector<Connection> connections;
};

LoaderState& State() {
  thread_local LoaderState state;
  return state;
}

// Connections are kept by the object's identity (its IUnknown), so any of
// its interfaces finds them.
IUnknown* IdentityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  if (object) object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  return identity.Get();  // the object itself keeps it
}

void Unadvise(CompiledForm& form, IUnknown* object) {
  auto& connections = State().connections;
  IUnknown* identity = IdentityOf(object);
  std::erase_if(connections, [&](Connection& c) {
    if (c.form != &form || c.object != identity) return false;
    c.point->Unadvise(c.cookie);
    return true;
  });
}

HRESULT Advise(CompiledForm& form, IUnknown* object, REFIID events, DISPID member) {
  IDispatch* sink = form.eventSinkForMember(member);
  if (!sink) return S_OK;  // the form handles none of this member's events
  const ComPtr<IConnectionPointContainer> container =
      QueryInterfaceOf<IConnectionPointContainer>(object);
  if (!container) return E_NOINTERFACE;
  ComPtr<IConnectionPoint> point;
  HRESULT hr = container->FindConnectionPoint(events, &point);
  if (FAILED(hr)) return hr;
  DWORD cookie = 0;
  hr = point->Advise(sink, &cookie);
  if (FAILED(hr)) return hr;
  State().connections.push_back({&form, IdentityOf(object), point, cookie});
  return S_OK;
}

// Creates the design's objects as the walk meets them.
class ObjectBuilder final : public DesignObjectVisitor {
 public:
  explicit ObjectBuilder(CompiledForm& form) : form_(form), slots_(form.memberSlots()) {}

  HRESULT enterObject(const DesignObjectHeader& header) override {
    ComPtr<IUnknown> object;
    HRESULT hr = CurrentClassRegistry().createForDesign(header.clsid, &object);
    if (FAILED(hr)) return hr;
    auto node = std::make_unique<DesignedObject>();
    node->control = QueryInterfaceOf<EngineControl>(object.Get());
    CompiledForm* form = &form_;
    node->properties = PropertyReader(header.properties,
                                      [form](IUnknown* embedded, REFIID events, int32_t member) {
                                        return Advise(*form, embedded, events, member);
                                      });

    if (header.depth == 0) {
      hr = adoptRoot(*node);
      if (FAILED(hr)) return hr;
      hr = storeInSlot(object.Get(), header);
    } else {
      node->identity = ReadDesignIdentity(header.clsid, header.properties);
      if (controls_) controls_->addDesignedControl(object.Get());
      hr = isElement(node->identity) ? storeElement(object.Get(), header, node->identity)
                                     : storeInSlot(object.Get(), header);
    }
    if (FAILED(hr)) return hr;

    stack_.resize(static_cast<size_t>(header.depth) + 1);
    stack_[static_cast<size_t>(header.depth)] = node.get();
    if (header.depth > 0 && node->control) {
      DesignedObject* parent = stack_[static_cast<size_t>(header.depth) - 1];
      parent->children.insert(parent->children.begin(), node.get());
    }
    if (design_) design_->objects.push_back(std::move(node));
    return S_OK;
  }

  size_t slotsUsed() const { return next_; }
  void finish() {
    if (controls_) controls_->finishDesign();
  }

 private:
  HRESULT adoptRoot(DesignedObject& root) {
    if (!root.control) return E_NOINTERFACE;
    FormState* state = FormStateOf(root.control.Get());
    if (!state) return E_FAIL;
    HRESULT hr = EnsureHiddenWindow();
    if (FAILED(hr)) return hr;
    PendingDesign& pending = State().pending[state];
    pending = PendingDesign{};
    pending.form = &form_;
    design_ = &pending;
    controls_ = &AttachFormControls(form_, root.control.Get());
    return S_OK;
  }

  bool isElement(const DesignIdentity& identity) const {
    return controls_ && identity.index >= 0 && !identity.name.empty();
  }

  // Releases what a slot held (and its connection) and stores `object`.
  void replaceSlot(size_t slot, IUnknown* object) {
    ComPtr<IUnknown>& held = slots_[slot];
    if (held.Get() == object) return;
    if (held) Unadvise(form_, held.Get());
    held = object;
  }

  // A control array element: the array of its name takes it; the array
  // itself takes the next member slot when its first element is met, and
  // every element's events go to that member's sink.
  HRESULT storeElement(IUnknown* object, const DesignObjectHeader& header,
                       const DesignIdentity& identity) {
    ControlArray* array = controls_->arrayNamed(identity.name);
    if (!array) {
      if (next_ >= slots_.size()) return E_FAIL;  // more members than the form has
      const size_t slot = next_++;
      array = &controls_->addArray(identity.name, header.clsid,
                                   header.hasEvents ? &header.events : nullptr,
                                   static_cast<DISPID>(slot));
      replaceSlot(slot, array->unknown());
    }
    // Two elements with one index: the design is broken.
    if (FAILED(array->addDesignedElement(identity.index, object))) return E_FAIL;
    if (!header.hasEvents) return S_OK;
    return Advise(form_, object, header.events, controls_->memberOf(*array));
  }

  HRESULT storeInSlot(IUnknown* object, const DesignObjectHeader& header) {
    if (next_ >= slots_.size()) return E_FAIL;  // more objects than the form has members
    const size_t slot = next_++;
    if (slots_[slot].Get() == object) return S_OK;
    replaceSlot(slot, object);
    if (!header.hasEvents) return S_OK;
    return Advise(form_, object, header.events, static_cast<DISPID>(slot));
  }

  CompiledForm& form_;
  std::span<ComPtr<IUnknown>> slots_;
  size_t next_ = 0;
  PendingDesign* design_ = nullptr;
  FormControls* controls_ = nullptr;
  std::vector<DesignedObject*> stack_;
};

HRESULT BuildRecord(FormState& form, ControlRecord& record, DesignedObject& node) {
  EngineControl* control = node.control.Get();
  control->attachRecord(record);
  HRESULT hr = control->readDesign(node.properties);
  if (FAILED(hr)) return hr;
  hr = control->fillWindowRecord(record.window);
  if (FAILED(hr)) return hr;
  for (DesignedObject* child : node.children) {
    if (child->control.Get() == form.formObject) continue;
    ControlRecord& childRecord = form.newControlRecord();
    childRecord.container = &record;
    childRecord.object = child->control;
    childRecord.name = child->identity.name;
    childRecord.arrayIndex = child->identity.index < 0 ? -1 : child->identity.index;
    record.children.push_back(&childRecord);
    hr = BuildRecord(form, childRecord, *child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace

HRESULT LoadFormDesign(CompiledForm& form) {
  const int index = form.designIndex();
  const std::span<const uint8_t> record =
      index < 0 ? std::span<const uint8_t>{}
                : CurrentDesignTable().record(static_cast<uint32_t>(index));
  if (record.empty()) {
    design::RaiseInternalAssertion("no design for the form index");
    return E_FAIL;
  }
  ObjectBuilder builder(form);
  if (FAILED(DesignObjectReader::Walk(record, builder))) {
    design::ShowDesignMessage(u"Error 9405: Failed to deserialize form",
                              design::kInternalErrorCaption);
    design::WaitAfterFailure();
  }
  builder.finish();
  return S_OK;
}

HRESULT ConnectMemberEvents(CompiledForm& form, IUnknown* object, REFIID events, DISPID member) {
  if (member < 0) return S_OK;
  return Advise(form, object, events, member);
}

void DisconnectMemberEvents(CompiledForm& form, IUnknown* object) {
  Unadvise(form, object);
}

void DisconnectFormDesign(CompiledForm& form) {
  DetachFormControls(form);
  auto& state = State();
  std::erase_if(state.connections, [&](Connection& c) {
    if (c.form != &form) return false;
    c.point->Unadvise(c.cookie);
    return true;
  });
  std::erase_if(state.pending, [&](const auto& entry) { return entry.second.form == &form; });
}

HRESULT BuildDesignRecords(FormState& form) {
  auto& pending = State().pending;
  const auto found = pending.find(&form);
  if (found == pending.end()) return S_OK;
  const PendingDesign design = std::move(found->second);
  pending.erase(found);
  if (design.objects.empty()) return S_OK;
  return BuildRecord(form, form.root(), *design.objects.front());
}

void InstallDesignHooks() {
  SetFormLoadHooks(FormLoadHooks{&InstallDesigns, &BuildDesignRecords, &RunLayoutPass});
}

}  // namespace rt

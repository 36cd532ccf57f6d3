#include "runtime/forms/design/FormDesignLoader.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/design/ClassRegistry.h"
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

void Unadvise(CompiledForm& form, IUnknown* object) {
  auto& connections = State().connections;
  std::erase_if(connections, [&](Connection& c) {
    if (c.form != &form || c.object != object) return false;
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
  State().connections.push_back({&form, object, point, cookie});
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
    }
    hr = storeInSlot(object.Get(), header);
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
    return S_OK;
  }

  HRESULT storeInSlot(IUnknown* object, const DesignObjectHeader& header) {
    if (next_ >= slots_.size()) return E_FAIL;  // more objects than the form has members
    const size_t slot = next_++;
    ComPtr<IUnknown>& held = slots_[slot];
    if (held.Get() == object) return S_OK;
    if (held) Unadvise(form_, held.Get());
    held = object;
    if (!header.hasEvents) return S_OK;
    return Advise(form_, object, header.events, static_cast<DISPID>(slot));
  }

  CompiledForm& form_;
  std::span<ComPtr<IUnknown>> slots_;
  size_t next_ = 0;
  PendingDesign* design_ = nullptr;
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
  return S_OK;
}

void DisconnectFormDesign(CompiledForm& form) {
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

#include "runtime/controls/extender/ActiveXControlExtender.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/oleauto.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"
#include "runtime/controls/extender/StoredPropertyBag.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowRecord.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {

namespace {

// The control's events as they arrive on its source interface, fired again
// on the extender's event interface with the same number and arguments.
class EventRelay final : public ComObject<EventRelay, IDispatch> {
 public:
  EventRelay(ComPtr<ConnectionPoint> target, const IID& source)
      : target_(std::move(target)), source_(source) {}

  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override {
    ComPtr<IDispatch> keepAlive(this);
    const UINT count = params ? params->cArgs : 0;
    // DISPPARAMS holds the arguments last first; fire takes them in order.
    auto at = [params, count](UINT position) { return params->rgvarg[count - 1 - position]; };
    switch (count) {
      case 0:
        return target_->fire(event);
      case 1:
        return target_->fire(event, {at(0)});
      case 2:
        return target_->fire(event, {at(0), at(1)});
      case 3:
        return target_->fire(event, {at(0), at(1), at(2)});
      case 4:
        return target_->fire(event, {at(0), at(1), at(2), at(3)});
    }
    // No event of a control this host carries has more arguments.
    return DISP_E_BADPARAMCOUNT;
  }

 protected:
  void* queryExtraInterface(REFIID riid) override {
    return riid == source_ ? static_cast<IDispatch*>(this) : nullptr;
  }

 private:
  ~EventRelay() override = default;
  friend class ComObject<EventRelay, IDispatch>;

  ComPtr<ConnectionPoint> target_;
  IID source_;
};

// A property of the form read by name; false when it has none.
bool ReadProperty(IDispatch* form, const char16_t* name, Variant* value) {
  std::u16string text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(form->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  DISPPARAMS none{};
  return SUCCEEDED(form->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                value->out(), nullptr, nullptr));
}

bool ReadNumber(IDispatch* form, const char16_t* name, LONG* number) {
  Variant value, converted;
  if (!ReadProperty(form, name, &value)) return false;
  if (FAILED(VariantChangeType(converted.out(), &value, 0, VT_I4))) return false;
  *number = converted.lVal;
  return true;
}

// A colour property of the form read by name; false when it has none.
bool ReadColour(IDispatch* form, const char16_t* name, OLE_COLOR* colour) {
  LONG number = 0;
  if (!ReadNumber(form, name, &number)) return false;
  *colour = static_cast<OLE_COLOR>(number);
  return true;
}

}  // namespace

ActiveXControlExtender::ActiveXControlExtender()
    : site_(MakeComObject<ActiveXControlExtenderX>()),
      events_(MakeComObject<ConnectionPoint>(DIID_ActiveXControlExtenderEvents, this)) {
  site_->attach(this);
}

ActiveXControlExtender::~ActiveXControlExtender() {
  unload();
  site_->detach();
  events_->detach();
}

HRESULT ActiveXControlExtender::createFromDesign(const char16_t* classId, REFIID defaultInterface,
                                                 REFIID sourceInterface,
                                                 const HostedControlState* stored) {
  return create(classId, defaultInterface, &sourceInterface, stored);
}

HRESULT ActiveXControlExtender::createFromDesign(const char16_t* classId,
                                                 const HostedControlState* stored) {
  return create(classId, IID_IDispatch, nullptr, stored);
}

HRESULT ActiveXControlExtender::create(const char16_t* classId, REFIID defaultInterface,
                                       const IID* sourceInterface,
                                       const HostedControlState* stored) {
  CLSID clsid{};
  if (HRESULT hr = IIDFromString(classId, &clsid); FAILED(hr)) return hr;
  ComPtr<IUnknown> control;
  // Context 5: an in-process server or a local one.
  const HRESULT created =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, defaultInterface,
                       reinterpret_cast<void**>(control.ReleaseAndGetAddressOf()));
  if (FAILED(created)) return created;
  if (!control) return E_UNEXPECTED;
  control_ = control;
  keepOptionalInterfaces();
  siteControl();
  connectNotifications();
  IID source = sourceInterface ? *sourceInterface : IID_NULL;
  if (!sourceInterface) {
    // The control names its events through its class information.
    const auto info = QueryInterfaceOf<IProvideClassInfo2>(control_.Get());
    if (!info || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source))) {
      source = IID_NULL;
    }
  }
  HRESULT hr = source == IID_NULL ? S_OK : connectSource(source);
  if (SUCCEEDED(hr)) hr = loadStoredProperties(stored);
  if (FAILED(hr)) unload();
  return hr;
}

void ActiveXControlExtender::keepOptionalInterfaces() {
  // Each is optional: a control without one is hosted without it.
  control_.As(controlDispatch_);
  control_.As(oleObject_);
  control_.As(oleControl_);
  control_.As(viewObject_);
  control_.As(inPlaceObject_);
}

void ActiveXControlExtender::siteControl() {
  if (!oleObject_) return;
  sited_ = SUCCEEDED(oleObject_->SetClientSite(static_cast<IOleClientSite*>(site_.Get())));
  DWORD status = 0;
  if (SUCCEEDED(oleObject_->GetMiscStatus(DVASPECT_CONTENT, &status))) miscStatus_ = status;
}

void ActiveXControlExtender::connectNotifications() {
  // A control that offers no such connection simply sends no notices.
  if (const auto container = QueryInterfaceOf<IConnectionPointContainer>(control_.Get())) {
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, &point)) && point &&
        SUCCEEDED(point->Advise(static_cast<IPropertyNotifySink*>(site_.Get()), &notifyCookie_))) {
      notifyPoint_ = point;
    }
  }
  IAdviseSink* sink = static_cast<IAdviseSink*>(site_.Get());
  if (oleObject_ && FAILED(oleObject_->Advise(sink, &adviseCookie_))) adviseCookie_ = 0;
  if (viewObject_) viewAdvised_ = SUCCEEDED(viewObject_->SetAdvise(DVASPECT_CONTENT, 0, sink));
}

HRESULT ActiveXControlExtender::connectSource(REFIID sourceInterface) {
  ComPtr<IConnectionPointContainer> container;
  if (HRESULT hr = control_.As(container); FAILED(hr)) return hr;
  ComPtr<IConnectionPoint> point;
  if (HRESULT hr = container->FindConnectionPoint(sourceInterface, &point); FAILED(hr)) return hr;
  ComPtr<EventRelay> relay = MakeComObject<EventRelay>(events_, sourceInterface);
  if (HRESULT hr = point->Advise(relay->unknown(), &sourceCookie_); FAILED(hr)) return hr;
  sourcePoint_ = point;
  source_ = sourceInterface;
  hasSource_ = true;
  return S_OK;
}

HRESULT ActiveXControlExtender::loadStoredProperties(const HostedControlState* stored) {
  const auto streamInit = QueryInterfaceOf<IPersistStreamInit>(control_.Get());
  const auto bagInit = QueryInterfaceOf<IPersistPropertyBag>(control_.Get());
  bool loaded = false;
  if (stored && stored->hasState && streamInit) {
    const auto stream = ComPtr<IStream>::Adopt(
        SHCreateMemStream(stored->state.data(), static_cast<UINT>(stored->state.size())));
    if (!stream) return E_OUTOFMEMORY;
    if (HRESULT hr = streamInit->Load(stream.Get()); FAILED(hr)) return hr;
    loaded = true;
  }
  if (stored && !stored->entries.empty() && bagInit) {
    const auto bag = MakeComObject<StoredPropertyBag>(stored->entries);
    if (HRESULT hr = bagInit->Load(bag.Get(), nullptr); FAILED(hr)) return hr;
    loaded = true;
  }
  if (loaded) return S_OK;
  // Nothing stored that the control can take: it starts from its defaults.
  if (streamInit) return streamInit->InitNew();
  if (bagInit) return bagInit->InitNew();
  return S_OK;
}

bool ActiveXControlExtender::needsWindow() const {
  return oleObject_ && !(miscStatus_ & OLEMISC_INVISIBLEATRUNTIME);
}

HRESULT ActiveXControlExtender::activateIn(HWND host, HWND form) {
  site_->setWindows(host, form);
  if (!oleObject_ || !host || activated_) return S_OK;
  RECT position{};
  GetClientRect(host, &position);
  const HRESULT hr =
      oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                         static_cast<IOleClientSite*>(site_.Get()), 0, host, &position);
  activated_ = SUCCEEDED(hr);
  return hr;
}

void ActiveXControlExtender::deactivate() {
  if (activated_) {
    activated_ = false;
    if (inPlaceObject_) inPlaceObject_->InPlaceDeactivate();
  }
  site_->setWindows(nullptr, nullptr);
}

void ActiveXControlExtender::disconnect() {
  if (notifyPoint_) {
    ComPtr<IConnectionPoint> point = std::move(notifyPoint_);
    point->Unadvise(std::exchange(notifyCookie_, 0));
  }
  if (oleObject_ && adviseCookie_) oleObject_->Unadvise(std::exchange(adviseCookie_, 0));
  if (viewObject_ && viewAdvised_) {
    viewAdvised_ = false;
    viewObject_->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
  }
  disconnectSource();
}

void ActiveXControlExtender::disconnectSource() {
  if (!sourcePoint_) return;
  ComPtr<IConnectionPoint> point = std::move(sourcePoint_);
  point->Unadvise(sourceCookie_);
  sourceCookie_ = 0;
}

void ActiveXControlExtender::unload() {
  // The control may call back into the site while it lets go.
  ComPtr<IUnknown> hold = control_;
  deactivate();
  disconnect();
  if (oleObject_ && sited_) {
    sited_ = false;
    oleObject_->SetClientSite(nullptr);
  }
  miscStatus_ = 0;
  inPlaceObject_.Reset();
  viewObject_.Reset();
  oleControl_.Reset();
  oleObject_.Reset();
  controlDispatch_.Reset();
  control_.Reset();
}

HRESULT ActiveXControlExtender::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                              DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  if (count == 1) {
    const DISPID member = ActiveXControlExtenderX::memberId(names[0]);
    if (member != DISPID_UNKNOWN) {
      ids[0] = kExtenderMemberBase + member;
      return S_OK;
    }
  }
  if (!controlDispatch_) {
    for (UINT i = 0; i < count; ++i)
      ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  return controlDispatch_->GetIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT ActiveXControlExtender::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                       DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                       UINT* argErr) {
  const DISPID extenderMember = id - kExtenderMemberBase;
  if (extenderMember >= ActiveXControlExtenderX::kName &&
      extenderMember <= ActiveXControlExtenderX::kTag) {
    const HRESULT hr =
        site_->Invoke(extenderMember, riid, lcid, flags, params, result, excep, argErr);
    if (SUCCEEDED(hr) && (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))) {
      applyMember(extenderMember);
    }
    return hr;
  }
  if (!controlDispatch_) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return controlDispatch_->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

void ActiveXControlExtender::readFormAmbients() {
  if (!record_ || !record_->form) return;
  const auto form = QueryInterfaceOf<IDispatch>(record_->form->formObject);
  if (!form) return;
  OLE_COLOR back = ActiveXControlExtenderX::kDefaultBackColor;
  OLE_COLOR fore = ActiveXControlExtenderX::kDefaultForeColor;
  ReadColour(form.Get(), u"BackColor", &back);
  ReadColour(form.Get(), u"ForeColor", &fore);
  site_->setAmbientColours(back, fore);
  // The scale units a control is told are those of the form it sits on.
  LONG scaleMode = 0;
  if (ReadNumber(form.Get(), u"ScaleMode", &scaleMode)) site_->setScaleMode(scaleMode);
}

void ActiveXControlExtender::applyMember(DISPID member) {
  if (!record_) return;
  const BaseControlActiveXExtender& members = site_->base();
  if (member == ActiveXControlExtenderX::kVisible) {
    if (members.visible) {
      record_->window.style |= WS_VISIBLE;
    } else {
      record_->window.style &= ~WS_VISIBLE;
    }
    if (HWND host = record_->window.hwnd) ShowWindow(host, members.visible ? SW_SHOW : SW_HIDE);
    return;
  }
  const struct {
    DISPID member;
    EngineContainer::Edge edge;
    double value;
  } edges[] = {{ActiveXControlExtenderX::kLeft, EngineContainer::Edge::Left, members.left},
               {ActiveXControlExtenderX::kTop, EngineContainer::Edge::Top, members.top},
               {ActiveXControlExtenderX::kWidth, EngineContainer::Edge::Width, members.width},
               {ActiveXControlExtenderX::kHeight, EngineContainer::Edge::Height, members.height}};
  for (const auto& entry : edges) {
    if (entry.member != member) continue;
    // The container keeps the place and moves the host window.
    EngineControl* holder = record_->container ? ObjectOf(*record_->container) : nullptr;
    if (const auto container = QueryInterfaceOf<EngineContainer>(holder)) {
      container->setChildValue(*record_, entry.edge, entry.value);
    }
    HWND host = record_->window.hwnd;
    if (activated_ && inPlaceObject_ && host) {
      RECT position{};
      GetClientRect(host, &position);
      inPlaceObject_->SetObjectRects(&position, &position);
    }
  }
}

HRESULT ActiveXControlExtender::fillWindowRecord(WindowRecord& window) {
  window.className.clear();
  window.style = 0;
  window.allowsFocus = false;
  if (!needsWindow()) return S_OK;
  window.className = u"BrammelGenericControl";
  window.style = (site_->base().visible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN;
  return S_OK;
}

HRESULT ActiveXControlExtender::createWindow(ControlRecord& record, HWND parent) {
  HRESULT hr = EngineControl::createWindow(record, parent);
  if (FAILED(hr) || !record.window.hwnd) return hr;
  readFormAmbients();
  // A control that refuses activation is still hosted: the form loads.
  HWND form = record.form ? record.form->windowHandle : parent;
  activateIn(record.window.hwnd, form);
  return S_OK;
}

HRESULT ActiveXControlExtender::readDesign(PropertyReader& reader) {
  ActiveXControlExtenderDesign design;
  HRESULT hr = reader.readInto(&design, kActiveXControlExtenderLayout);
  if (FAILED(hr)) return hr;
  ApplyCommonDesign(design.common, record_, nullptr);
  BaseControlActiveXExtender& members = site_->base();
  members.left = design.common.left;
  members.top = design.common.top;
  members.width = design.common.width;
  members.height = design.common.height;
  members.visible = design.common.visible != 0;
  members.enabled = design.common.enabled != 0;
  if (record_) {
    members.name = record_->name;
    members.index = static_cast<SHORT>(record_->arrayIndex);
  }
  // The control may read its ambient colours while it loads.
  readFormAmbients();
  if (control_) return S_OK;  // the form is loaded again: the control stays
  const char16_t* classId = design.classId.get();
  return createFromDesign(classId ? classId : u"", &design.hosted);
}

HRESULT ActiveXControlExtender::raiseEvent(DISPID id, std::span<Variant> args) {
  const std::vector<VARIANT> plain(args.begin(), args.end());
  return events_->fire(id, plain);
}

void* ActiveXControlExtender::queryExtraInterface(REFIID riid) {
  return riid == IID_ActiveXControlExtender ? static_cast<void*>(this) : nullptr;
}

HRESULT ActiveXControlExtender::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT ActiveXControlExtender::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (riid != DIID_ActiveXControlExtenderEvents && !(hasSource_ && riid == source_)) {
    return CONNECT_E_NOCONNECTION;
  }
  events_.CopyTo(reinterpret_cast<ConnectionPoint**>(point));
  return S_OK;
}

}  // namespace rt

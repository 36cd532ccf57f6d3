#include "runtime/controls/extender/ActiveXControlExtender.h"

#include <vector>

#include "platform/oleauto.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"
#include "runtime/forms/ControlRecord.h"
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

  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
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

}  // namespace

ActiveXControlExtender::ActiveXControlExtender()
    : site_(MakeComObject<ActiveXControlExtenderX>()),
      events_(MakeComObject<ConnectionPoint>(DIID_ActiveXControlExtenderEvents, this)) {}

ActiveXControlExtender::~ActiveXControlExtender() {
  unload();
  events_->detach();
}

HRESULT ActiveXControlExtender::createFromDesign(const char16_t* classId, REFIID defaultInterface,
                                                 REFIID sourceInterface) {
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
  // Optional: a control without a dispatch interface is hosted without it.
  control_.As(controlDispatch_);
  if (sourceInterface == IID_NULL) return S_OK;
  const HRESULT connected = connectSource(sourceInterface);
  if (FAILED(connected)) unload();
  return connected;
}

HRESULT ActiveXControlExtender::createFromDesign(const char16_t* classId) {
  HRESULT hr = createFromDesign(classId, IID_IDispatch, IID_NULL);
  if (FAILED(hr)) return hr;
  const ComPtr<IProvideClassInfo2> info = QueryInterfaceOf<IProvideClassInfo2>(control_.Get());
  IID source{};
  if (!info || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source))) return S_OK;
  hr = connectSource(source);
  if (FAILED(hr)) unload();
  return hr;
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

void ActiveXControlExtender::disconnectSource() {
  if (!sourcePoint_) return;
  ComPtr<IConnectionPoint> point = std::move(sourcePoint_);
  point->Unadvise(sourceCookie_);
  sourceCookie_ = 0;
}

void ActiveXControlExtender::unload() {
  // The order the form's unload takes: events first, then the control.
  disconnectSource();
  controlDispatch_.Reset();
  control_.Reset();
}

HRESULT ActiveXControlExtender::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ActiveXControlExtender::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
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
    return site_->Invoke(extenderMember, riid, lcid, flags, params, result, excep, argErr);
  }
  if (!controlDispatch_) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return controlDispatch_->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

HRESULT ActiveXControlExtender::fillWindowRecord(WindowRecord& window) {
  window.className.clear();
  window.style = 0;
  window.allowsFocus = false;
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
  if (control_) return S_OK;  // the form is loaded again: the control stays
  const char16_t* classId = design.classId.get();
  return createFromDesign(classId ? classId : u"");
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

// A control class for the extender's tests: registered with the class
// registry, it offers the OLE interfaces a test chooses and writes down, in
// order, what its container does to it (into a Probe that outlives it).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/ole.h"
#include "runtime/com/ComObject.h"

namespace extender_test {

// {7A1C0D10-5E2F-4B3A-8C9D-0E1F2A3B4C5D}
inline constexpr CLSID CLSID_RecordingControl{
    0x7A1C0D10, 0x5E2F, 0x4B3A, {0x8C, 0x9D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x5D}};
inline constexpr const char16_t* kRecordingControlClassId =
    u"{7A1C0D10-5E2F-4B3A-8C9D-0E1F2A3B4C5D}";

// Interfaces the control may offer.
namespace offer {
inline constexpr unsigned OleObject = 1;
inline constexpr unsigned OleControl = 2;
inline constexpr unsigned ViewObject = 4;
inline constexpr unsigned InPlaceObject = 8;
inline constexpr unsigned PropertyNotify = 16;  // a connection point for IPropertyNotifySink
inline constexpr unsigned StreamInit = 32;
inline constexpr unsigned PropertyBag = 64;
inline constexpr unsigned Dispatch = 128;
inline constexpr unsigned All = 255;
}  // namespace offer

struct Probe {
  unsigned offers = offer::All;
  DWORD miscStatus = OLEMISC_ACTIVATEWHENVISIBLE;
  HRESULT loadResult = S_OK;
  // Names the control reads from a property bag, with the type it asks for.
  std::vector<std::pair<std::u16string, VARTYPE>> bagReads;

  std::vector<std::string> calls;
  int alive = 0;
  ComPtr<IOleClientSite> site;  // while sited
  HWND activatedIn = nullptr;
  HWND frameWindow = nullptr;
  std::vector<uint8_t> streamBytes;
  std::vector<Variant> bagValues;
  ComPtr<IPropertyNotifySink> notifySink;
  ComPtr<IAdviseSink> adviseSink;
};

class NotifyPoint final : public rt::ComObject<NotifyPoint, IConnectionPoint> {
 public:
  explicit NotifyPoint(Probe& probe) : probe_(probe) {}
  HRESULT GetConnectionInterface(IID* iid) override {
    *iid = IID_IPropertyNotifySink;
    return S_OK;
  }
  HRESULT GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override {
    probe_.calls.push_back("PropertyNotify.Advise");
    probe_.notifySink = QueryInterfaceOf<IPropertyNotifySink>(sink);
    if (!probe_.notifySink) return CONNECT_E_CANNOTCONNECT;
    *cookie = 7;
    return S_OK;
  }
  HRESULT Unadvise(DWORD cookie) override {
    probe_.calls.push_back("PropertyNotify.Unadvise");
    if (cookie != 7) return CONNECT_E_NOCONNECTION;
    probe_.notifySink.Reset();
    return S_OK;
  }
  HRESULT EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  ~NotifyPoint() override = default;
  friend class rt::ComObject<NotifyPoint, IConnectionPoint>;
  Probe& probe_;
};

class RecordingControl final
    : public rt::ComObject<RecordingControl, IDispatch, IOleObject, IOleControl, IViewObject,
                           IOleInPlaceObject, IConnectionPointContainer, IPersistStreamInit,
                           IPersistPropertyBag> {
 public:
  explicit RecordingControl(Probe& probe) : probe_(probe) { ++probe_.alive; }

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!offered(riid)) {
      if (ppv) *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, ppv);
  }

  // ---- IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  // ---- IOleObject
  HRESULT SetClientSite(IOleClientSite* site) override {
    probe_.calls.push_back(site ? "SetClientSite" : "SetClientSite(null)");
    probe_.site = site;
    return S_OK;
  }
  HRESULT GetClientSite(IOleClientSite** site) override {
    probe_.site.CopyTo(site);
    return S_OK;
  }
  HRESULT SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT Close(DWORD) override { return S_OK; }
  HRESULT SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT DoVerb(LONG verb, LPMSG, IOleClientSite* active, LONG, HWND parent, LPCRECT) override {
    probe_.calls.push_back("DoVerb(" + std::to_string(verb) + ")");
    if (verb != OLEIVERB_INPLACEACTIVATE || !active) return E_NOTIMPL;
    // What an in-place object does: ask its site, announce itself, take
    // its window context.
    auto site = QueryInterfaceOf<IOleInPlaceSite>(active);
    if (!site || site->CanInPlaceActivate() != S_OK) return E_UNEXPECTED;
    site->OnInPlaceActivate();
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    if (FAILED(site->GetWindowContext(&frame, &document, &position, &clip, &info))) return E_FAIL;
    if (frame) frame->GetWindow(&probe_.frameWindow);
    probe_.activatedIn = parent;
    return S_OK;
  }
  HRESULT EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT Update() override { return S_OK; }
  HRESULT IsUpToDate() override { return S_OK; }
  HRESULT GetUserClassID(CLSID* clsid) override {
    *clsid = CLSID_RecordingControl;
    return S_OK;
  }
  HRESULT GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT SetExtent(DWORD, SIZEL*) override { return S_OK; }
  HRESULT GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT Advise(IAdviseSink* sink, DWORD* connection) override {
    probe_.calls.push_back("Advise");
    probe_.adviseSink = sink;
    *connection = 3;
    return S_OK;
  }
  HRESULT Unadvise(DWORD connection) override {
    probe_.calls.push_back("Unadvise");
    if (connection != 3) return OLE_E_NOCONNECTION;
    probe_.adviseSink.Reset();
    return S_OK;
  }
  HRESULT EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT GetMiscStatus(DWORD, DWORD* status) override {
    probe_.calls.push_back("GetMiscStatus");
    *status = probe_.miscStatus;
    return S_OK;
  }
  HRESULT SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // ---- IOleControl
  HRESULT GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
  HRESULT OnMnemonic(MSG*) override { return E_NOTIMPL; }
  HRESULT OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT FreezeEvents(BOOL) override { return S_OK; }

  // ---- IViewObject
  HRESULT Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL,
               BOOL (*)(ULONG_PTR), ULONG_PTR) override {
    return S_OK;
  }
  HRESULT GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
    return E_NOTIMPL;
  }
  HRESULT Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT SetAdvise(DWORD, DWORD, IAdviseSink* sink) override {
    probe_.calls.push_back(sink ? "SetAdvise" : "SetAdvise(null)");
    return S_OK;
  }
  HRESULT GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }

  // ---- IOleWindow, IOleInPlaceObject
  HRESULT GetWindow(HWND* hwnd) override {
    *hwnd = probe_.activatedIn;
    return S_OK;
  }
  HRESULT ContextSensitiveHelp(BOOL) override { return S_OK; }
  HRESULT InPlaceDeactivate() override {
    probe_.calls.push_back("InPlaceDeactivate");
    if (auto site = QueryInterfaceOf<IOleInPlaceSite>(probe_.site.Get())) {
      site->OnInPlaceDeactivate();
    }
    return S_OK;
  }
  HRESULT UIDeactivate() override { return S_OK; }
  HRESULT SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
  HRESULT ReactivateAndUndo() override { return E_NOTIMPL; }

  // ---- IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    *point = nullptr;
    if (riid != IID_IPropertyNotifySink || !(probe_.offers & offer::PropertyNotify)) {
      return CONNECT_E_NOCONNECTION;
    }
    *point = rt::MakeComObject<NotifyPoint>(probe_).Detach();
    return S_OK;
  }

  // ---- IPersist, IPersistStreamInit, IPersistPropertyBag
  HRESULT GetClassID(CLSID* clsid) override { return GetUserClassID(clsid); }
  HRESULT IsDirty() override { return S_FALSE; }
  HRESULT Load(LPSTREAM stream) override {
    probe_.calls.push_back("Load(stream)");
    uint8_t buffer[64];
    ULONG read = 0;
    stream->Read(buffer, sizeof buffer, &read);
    probe_.streamBytes.assign(buffer, buffer + read);
    return probe_.loadResult;
  }
  HRESULT Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
  HRESULT GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  HRESULT InitNew() override {
    probe_.calls.push_back("InitNew");
    return S_OK;
  }
  HRESULT Load(IPropertyBag* bag, IErrorLog* log) override {
    probe_.calls.push_back("Load(bag)");
    for (auto& [name, type] : probe_.bagReads) {
      Variant value;
      value.vt = type;
      const HRESULT hr = bag->Read(name.c_str(), &value, log);
      if (FAILED(hr)) value = Variant();
      probe_.bagValues.push_back(value);
    }
    return probe_.loadResult;
  }
  HRESULT Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }

 private:
  ~RecordingControl() override {
    probe_.calls.push_back("released");
    --probe_.alive;
  }
  friend class rt::ComObject<RecordingControl, IDispatch, IOleObject, IOleControl, IViewObject,
                             IOleInPlaceObject, IConnectionPointContainer, IPersistStreamInit,
                             IPersistPropertyBag>;

  bool offered(REFIID riid) const {
    const struct {
      const IID& iid;
      unsigned flag;
    } optional[] = {{IID_IDispatch, offer::Dispatch},
                    {IID_IOleObject, offer::OleObject},
                    {IID_IOleControl, offer::OleControl},
                    {IID_IViewObject, offer::ViewObject},
                    {IID_IOleInPlaceObject, offer::InPlaceObject},
                    {IID_IOleWindow, offer::InPlaceObject},
                    {IID_IConnectionPointContainer, offer::PropertyNotify},
                    {IID_IPersistStreamInit, offer::StreamInit},
                    {IID_IPersistPropertyBag, offer::PropertyBag},
                    {IID_IPersist, offer::StreamInit | offer::PropertyBag}};
    for (const auto& entry : optional) {
      if (riid == entry.iid) return (probe_.offers & entry.flag) != 0;
    }
    return riid == IID_IUnknown;
  }

  Probe& probe_;
};

class RecordingFactory final : public rt::ComObject<RecordingFactory, IClassFactory> {
 public:
  explicit RecordingFactory(Probe& probe) : probe_(probe) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto control = rt::MakeComObject<RecordingControl>(probe_);
    return control->QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  ~RecordingFactory() override = default;
  friend class rt::ComObject<RecordingFactory, IClassFactory>;
  Probe& probe_;
};

// Registers the class for a test's length.
class ScopedRecordingClass {
 public:
  explicit ScopedRecordingClass(Probe& probe) {
    auto factory = rt::MakeComObject<RecordingFactory>(probe);
    CoRegisterClassObject(CLSID_RecordingControl, factory->unknown(), CLSCTX_INPROC_SERVER,
                          REGCLS_MULTIPLEUSE, &cookie_);
  }
  ~ScopedRecordingClass() { CoRevokeClassObject(cookie_); }
  ScopedRecordingClass(const ScopedRecordingClass&) = delete;
  ScopedRecordingClass& operator=(const ScopedRecordingClass&) = delete;

 private:
  DWORD cookie_ = 0;
};

}  // namespace extender_test

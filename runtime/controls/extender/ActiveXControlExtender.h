// The host of an outside control on a form: it creates the control from the
// design, sites it, passes its events on to the form, answers the extender
// members through its companion (ActiveXControlExtenderX, also the control's
// OLE site) and the control's own members by name through the control's
// IDispatch. The typed view of a hosted control's members (forwarded in the
// control's order, error 91 without a control) is a class over hosted<T>()
// (see the application's hosted socket control).
//
// Creation from the design, in this order:
//   1. the class identifier text converted (IIDFromString);
//   2. the control created (CoCreateInstance, context 5) for its default
//      interface;
//   3. its optional interfaces kept: IOleObject, IOleControl, IViewObject,
//      IOleInPlaceObject, IDispatch (a control lacking one is hosted
//      without it);
//   4. the companion given to it as client site (IOleObject::SetClientSite)
//      and its miscellaneous status flags read;
//   5. the companion connected as its IPropertyNotifySink (connection
//      point) and IAdviseSink (IOleObject::Advise, IViewObject::SetAdvise),
//      and its source interface connected so that its events reach the
//      extender's event interface;
//   6. its stored properties loaded: the state bytes through
//      IPersistStreamInit::Load, the named values through
//      IPersistPropertyBag::Load; with nothing stored that it can take,
//      InitNew of the first of the two it offers;
//   7. when it needs a window (it has IOleObject and is not
//      OLEMISC_INVISIBLEATRUNTIME), the form's layout creates the host window
//      of class "BrammelGenericControl" and the control is activated in
//      place in it (OLEIVERB_INPLACEACTIVATE).
// A failure of steps 1 or 2, of the source connection or of step 6 fails
// the form's load with its status and leaves the extender empty.
//
// The form connects its sink to the extender's event interface; the
// control's own source interface names the same connection point, so a
// sink written for the control's events connects unchanged.
//
// Lifecycle: created empty by the form loader → createFromDesign (from the
// design read) → in place active while the form has its window (deactivated
// when the window goes) → unload() (the form's release, terminate()):
// deactivated, disconnected (property-notify and advise connections dropped,
// the event connection released), the client site cleared, the control
// released. Reentrancy: events arrive inside the control's calls; a handler
// may call unload() (the relay keeps itself alive for the event in
// progress).
#pragma once

#include "runtime/com/ComObject.h"
#include "runtime/com/ConnectionPoint.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/extender/ActiveXControlExtenderX.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

// The extender itself, for hosts that look for it behind a member slot.
// {8E0B1F53-3C6D-4A7E-9F21-6B5D4C3A2E10}
inline constexpr IID IID_ActiveXControlExtender{
    0x8E0B1F53, 0x3C6D, 0x4A7E, {0x9F, 0x21, 0x6B, 0x5D, 0x4C, 0x3A, 0x2E, 0x10}};

// {0E2B363B-7557-4918-A528-F58FDE4EABAB}
inline constexpr IID DIID_ActiveXControlExtenderEvents{
    0x0E2B363B, 0x7557, 0x4918, {0xA5, 0x28, 0xF5, 0x8F, 0xDE, 0x4E, 0xAB, 0xAB}};

class ActiveXControlExtender final : public ComObject<ActiveXControlExtender, IDispatch,
                                                      IConnectionPointContainer, EngineControl> {
 public:
  // Dispatch ids of the extender members, apart from the control's own.
  static constexpr DISPID kExtenderMemberBase = 0x68030000;

  ActiveXControlExtender();

  // Creates, sites and connects the control and loads its stored
  // properties (null: none stored): classId is "{XXXXXXXX-...}",
  // defaultInterface what the control is asked for, sourceInterface its
  // events (IID_NULL: it has none). A class that is not registered fails
  // with the creation's status and leaves the extender empty.
  HRESULT createFromDesign(const char16_t* classId, REFIID defaultInterface, REFIID sourceInterface,
                           const HostedControlState* stored = nullptr);
  // The same, asking for the control's dispatch interface and connecting to
  // the event interface it names through IProvideClassInfo2 (none when it
  // does not say).
  HRESULT createFromDesign(const char16_t* classId, const HostedControlState* stored = nullptr);

  // The control's miscellaneous status flags (0 without IOleObject).
  DWORD miscStatus() const { return miscStatus_; }
  // True when the control is shown in a host window of its own.
  bool needsWindow() const;
  // Activates the control in place in `host` (framed by `form`); called
  // by the engine once the host window exists. A control that refuses
  // stays hosted, inactive.
  HRESULT activateIn(HWND host, HWND form);
  // Leaves the in-place active state (the host window is going).
  void deactivate();
  bool inPlaceActive() const { return activated_; }

  // The hosted control's default interface (not counted); null before
  // creation and after unload.
  IUnknown* control() const { return control_.Get(); }
  // The control as T; run-time error 91 when there is no control.
  template <typename T>
  HRESULT hosted(ComPtr<T>& out) const {
    if (!control_) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
    return control_.As(out);
  }

  ActiveXControlExtenderX& site() { return *site_; }

  // Form unload: deactivated, disconnected, the site cleared, the control
  // released.
  void unload();

  // ---- IDispatch: extender members, then the control's by name
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // ---- IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // ---- EngineControl
  void attachRecord(ControlRecord& record) override { record_ = &record; }
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  HRESULT createWindow(ControlRecord& record, HWND parent) override;
  void windowGone() override { deactivate(); }
  HRESULT raiseEvent(DISPID id, std::span<Variant> args) override;
  void terminate() override { unload(); }
  bool visible() override { return false; }

 protected:
  void* queryExtraInterface(REFIID riid) override;

 private:
  ~ActiveXControlExtender() override;
  friend class ComObject<ActiveXControlExtender, IDispatch, IConnectionPointContainer,
                         EngineControl>;

  HRESULT create(const char16_t* classId, REFIID defaultInterface, const IID* sourceInterface,
                 const HostedControlState* stored);
  void keepOptionalInterfaces();
  void siteControl();
  void connectNotifications();
  HRESULT connectSource(REFIID sourceInterface);
  HRESULT loadStoredProperties(const HostedControlState* stored);
  void disconnect();
  // The form's colours as the control's ambient BackColor and ForeColor.
  void readFormAmbients();
  // An extender member was let: the container moves or shows the host.
  void applyMember(DISPID member);
  void disconnectSource();

  ControlRecord* record_ = nullptr;  // the engine's record (owned by the form)
  ComPtr<ActiveXControlExtenderX> site_;
  ComPtr<ConnectionPoint> events_;
  ComPtr<IUnknown> control_;
  ComPtr<IDispatch> controlDispatch_;
  ComPtr<IOleObject> oleObject_;
  ComPtr<IOleControl> oleControl_;
  ComPtr<IViewObject> viewObject_;
  ComPtr<IOleInPlaceObject> inPlaceObject_;
  DWORD miscStatus_ = 0;
  bool sited_ = false;
  bool activated_ = false;
  DWORD adviseCookie_ = 0;  // IOleObject::Advise; 0: not advised
  bool viewAdvised_ = false;
  ComPtr<IConnectionPoint> notifyPoint_;  // IPropertyNotifySink
  DWORD notifyCookie_ = 0;
  IID source_{};
  bool hasSource_ = false;
  ComPtr<IConnectionPoint> sourcePoint_;
  DWORD sourceCookie_ = 0;
};

}  // namespace rt

template <>
struct InterfaceId<rt::ActiveXControlExtender> {
  static constexpr const IID& value = rt::IID_ActiveXControlExtender;
};

// The extender's companion: the hosted control's OLE site and the keeper of
// the extender members. The control reaches its container only through it:
// the client site, the in-place site (with its Ex and windowless forms), the
// control site, the container, the advise and property-notify sinks, and
// IDispatch for the ambient properties. Its own IDispatch also answers the
// extender members by name (the extender forwards them here).
//
// The in-place frame and document window the control asks for through
// GetWindowContext are the form's window (FormInPlaceFrame).
//
// Lifetime: the extender creates it with itself and keeps it; the control
// holds it while sited (SetClientSite) and drops it when the extender
// clears the site. Its link back to the extender is not counted and is cut
// by detach() when the extender goes.
#pragma once

#include "platform/ole.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/extender/BaseControlActiveXExtender.h"

namespace rt {

class ActiveXControlExtender;

// The name of a container's scale mode: 0 "User", 1 "Twip", 2 "Point",
// 3 "Pixel", 4 "Character", 5 "Inch", 6 "Millimeter", 7 "Centimeter",
// -1 "Pixel", anything else "Twip".
const char16_t* ScaleUnitsName(int scaleMode);

class ActiveXControlExtenderX final
    : public ComObject<ActiveXControlExtenderX, IDispatch, IOleClientSite,
                       IOleInPlaceSiteWindowless, IOleControlSite, IOleContainer, IAdviseSink,
                       IPropertyNotifySink> {
 public:
  // Extender members (dispatch ids).
  static constexpr DISPID kName = 1;
  static constexpr DISPID kIndex = 2;
  static constexpr DISPID kLeft = 3;
  static constexpr DISPID kTop = 4;
  static constexpr DISPID kWidth = 5;
  static constexpr DISPID kHeight = 6;
  static constexpr DISPID kVisible = 7;
  static constexpr DISPID kEnabled = 8;
  static constexpr DISPID kTag = 9;

  // The ambient colours until the container says otherwise: the system's
  // button face and button text.
  static constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;
  static constexpr OLE_COLOR kDefaultForeColor = 0x80000012;

  ActiveXControlExtenderX() = default;

  BaseControlActiveXExtender& base() { return base_; }
  // The container's scale mode the ambient scale units name.
  void setScaleMode(int mode) { scaleMode_ = mode; }
  void setAmbientColours(OLE_COLOR back, OLE_COLOR fore) {
    backColor_ = back;
    foreColor_ = fore;
  }

  // The extender the control's GetExtendedControl answers (not counted).
  void attach(ActiveXControlExtender* owner) { owner_ = owner; }
  void detach() { owner_ = nullptr; }
  // The window the control is activated in (the "BrammelGenericControl"
  // host) and the form's window that frames it; null when there is none.
  void setWindows(HWND host, HWND form) {
    host_ = host;
    form_ = form;
  }
  HWND hostWindow() const { return host_; }
  // What the control told its site about its activation.
  bool inPlaceActive() const { return inPlaceActive_; }
  int viewChanges() const { return viewChanges_; }
  int propertyChanges() const { return propertyChanges_; }

  // The id of an extender member's name (any case); DISPID_UNKNOWN for none.
  static DISPID memberId(const char16_t* name);

  // ---- IDispatch: extender members (get and let) and ambient properties
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // ---- IOleClientSite
  HRESULT SaveObject() override { return E_NOTIMPL; }
  HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT GetContainer(IOleContainer** container) override;
  HRESULT ShowObject() override { return S_OK; }
  HRESULT OnShowWindow(BOOL) override { return S_OK; }
  HRESULT RequestNewObjectLayout() override { return E_NOTIMPL; }

  // ---- IOleWindow, IOleInPlaceSite, Ex and Windowless
  HRESULT GetWindow(HWND* hwnd) override;
  HRESULT ContextSensitiveHelp(BOOL) override { return S_OK; }
  HRESULT CanInPlaceActivate() override { return host_ ? S_OK : S_FALSE; }
  HRESULT OnInPlaceActivate() override;
  HRESULT OnUIActivate() override { return S_OK; }
  HRESULT GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                           LPRECT position, LPRECT clip, OLEINPLACEFRAMEINFO* frameInfo) override;
  HRESULT Scroll(SIZE) override { return S_FALSE; }
  HRESULT OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT OnInPlaceDeactivate() override;
  HRESULT DiscardUndoState() override { return S_OK; }
  HRESULT DeactivateAndUndo() override { return S_OK; }
  HRESULT OnPosRectChange(LPCRECT position) override;
  HRESULT OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
  HRESULT OnInPlaceDeactivateEx(BOOL) override { return OnInPlaceDeactivate(); }
  HRESULT RequestUIActivate() override { return S_OK; }
  // The host window is always there for it: no windowless activation.
  HRESULT CanWindowlessActivate() override { return S_FALSE; }
  HRESULT GetCapture() override { return S_FALSE; }
  HRESULT SetCapture(BOOL) override { return E_NOTIMPL; }
  HRESULT GetFocus() override { return S_FALSE; }
  HRESULT SetFocus(BOOL) override { return E_NOTIMPL; }
  HRESULT GetDC(LPCRECT, DWORD, HDC* dc) override;
  HRESULT ReleaseDC(HDC) override { return E_NOTIMPL; }
  HRESULT InvalidateRect(LPCRECT rect, BOOL erase) override;
  HRESULT InvalidateRgn(HRGN region, BOOL erase) override;
  HRESULT ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
  HRESULT AdjustRect(LPRECT) override { return S_OK; }
  HRESULT OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) override;

  // ---- IOleControlSite
  HRESULT OnControlInfoChanged() override { return S_OK; }
  HRESULT LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT GetExtendedControl(IDispatch** control) override;
  HRESULT TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT OnFocus(BOOL) override { return S_OK; }
  HRESULT ShowPropertyFrame() override { return E_NOTIMPL; }

  // ---- IParseDisplayName, IOleContainer
  HRESULT ParseDisplayName(IBindCtx*, LPOLESTR, ULONG* eaten, IMoniker** moniker) override;
  HRESULT EnumObjects(DWORD, IEnumUnknown** objects) override;
  HRESULT LockContainer(BOOL) override { return S_OK; }

  // ---- IAdviseSink
  void OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void OnViewChange(DWORD, LONG) override;
  void OnRename(IMoniker*) override {}
  void OnSave() override {}
  void OnClose() override {}

  // ---- IPropertyNotifySink
  HRESULT OnChanged(DISPID) override;
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }

 protected:
  void* queryExtraInterface(REFIID riid) override;

 private:
  ~ActiveXControlExtenderX() override = default;
  friend class ComObject<ActiveXControlExtenderX, IDispatch, IOleClientSite,
                         IOleInPlaceSiteWindowless, IOleControlSite, IOleContainer, IAdviseSink,
                         IPropertyNotifySink>;

  HRESULT get(DISPID id, VARIANT* result);
  HRESULT let(DISPID id, const VARIANT& value);

  BaseControlActiveXExtender base_;
  int scaleMode_ = 1;
  OLE_COLOR backColor_ = kDefaultBackColor;
  OLE_COLOR foreColor_ = kDefaultForeColor;
  ActiveXControlExtender* owner_ = nullptr;
  HWND host_ = nullptr;
  HWND form_ = nullptr;
  bool inPlaceActive_ = false;
  int viewChanges_ = 0;
  int propertyChanges_ = 0;
};

}  // namespace rt

// OLE control containment: the interfaces a container and an embedded control
// exchange (object, site, in-place activation, view, persistence, change
// notification), their documented identifiers and constants, and a stream
// over memory for loading a control's saved state.
//
// Member order and signatures are those of the documented interfaces. Types
// the containment here never looks into (monikers, data objects, verb and
// advise enumerators, target devices) are declared only.
#pragma once

#include "platform/com.h"
#include "platform/gdi.h"
#include "platform/oleauto.h"
#include "platform/user.h"

// ---------------------------------------------------------------------------
// Interface identifiers (documented values)
// ---------------------------------------------------------------------------
inline constexpr IID IID_IEnumUnknown{
    0x00000100, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IStream{
    0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_ISequentialStream{
    0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
inline constexpr IID IID_IPersist{
    0x0000010C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IViewObject{
    0x0000010D, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IAdviseSink{
    0x0000010F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleObject{
    0x00000112, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceObject{
    0x00000113, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleWindow{
    0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceUIWindow{
    0x00000115, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceFrame{
    0x00000116, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceActiveObject{
    0x00000117, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleClientSite{
    0x00000118, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceSite{
    0x00000119, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IParseDisplayName{
    0x0000011A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleContainer{
    0x0000011B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IOleInPlaceSiteEx{
    0x9C2CAD80, 0x3424, 0x11CF, {0xB6, 0x70, 0x00, 0xAA, 0x00, 0x4C, 0xD6, 0xD8}};
inline constexpr IID IID_IOleInPlaceSiteWindowless{
    0x922EADA0, 0x3424, 0x11CF, {0xB6, 0x70, 0x00, 0xAA, 0x00, 0x4C, 0xD6, 0xD8}};
inline constexpr IID IID_IOleControl{
    0xB196B288, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IOleControlSite{
    0xB196B289, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyNotifySink{
    0x9BFBBC02, 0xEFF1, 0x101A, {0x84, 0xED, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPersistStreamInit{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};
inline constexpr IID IID_IPersistPropertyBag{
    0x37D84F60, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IPropertyBag{
    0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IErrorLog{
    0x3127CA40, 0x446E, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------
// Verbs (IOleObject::DoVerb).
inline constexpr LONG OLEIVERB_PRIMARY = 0;
inline constexpr LONG OLEIVERB_SHOW = -1;
inline constexpr LONG OLEIVERB_OPEN = -2;
inline constexpr LONG OLEIVERB_HIDE = -3;
inline constexpr LONG OLEIVERB_UIACTIVATE = -4;
inline constexpr LONG OLEIVERB_INPLACEACTIVATE = -5;

// Miscellaneous status flags (IOleObject::GetMiscStatus).
inline constexpr DWORD OLEMISC_RECOMPOSEONRESIZE = 0x1;
inline constexpr DWORD OLEMISC_ONLYICONIC = 0x2;
inline constexpr DWORD OLEMISC_INSERTNOTREPLACE = 0x4;
inline constexpr DWORD OLEMISC_STATIC = 0x8;
inline constexpr DWORD OLEMISC_CANTLINKINSIDE = 0x10;
inline constexpr DWORD OLEMISC_CANLINKBYOLE1 = 0x20;
inline constexpr DWORD OLEMISC_ISLINKOBJECT = 0x40;
inline constexpr DWORD OLEMISC_INSIDEOUT = 0x80;
inline constexpr DWORD OLEMISC_ACTIVATEWHENVISIBLE = 0x100;
inline constexpr DWORD OLEMISC_RENDERINGISDEVICEINDEPENDENT = 0x200;
inline constexpr DWORD OLEMISC_INVISIBLEATRUNTIME = 0x400;
inline constexpr DWORD OLEMISC_ALWAYSRUN = 0x800;
inline constexpr DWORD OLEMISC_ACTSLIKEBUTTON = 0x1000;
inline constexpr DWORD OLEMISC_ACTSLIKELABEL = 0x2000;
inline constexpr DWORD OLEMISC_NOUIACTIVATE = 0x4000;
inline constexpr DWORD OLEMISC_ALIGNABLE = 0x8000;
inline constexpr DWORD OLEMISC_SIMPLEFRAME = 0x10000;
inline constexpr DWORD OLEMISC_SETCLIENTSITEFIRST = 0x20000;
inline constexpr DWORD OLEMISC_IMEMODE = 0x40000;

// Aspects (DVASPECT) and advise flags (ADVF).
inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD DVASPECT_THUMBNAIL = 2;
inline constexpr DWORD DVASPECT_ICON = 4;
inline constexpr DWORD DVASPECT_DOCPRINT = 8;
inline constexpr DWORD ADVF_NODATA = 1;
inline constexpr DWORD ADVF_PRIMEFIRST = 2;
inline constexpr DWORD ADVF_ONLYONCE = 4;

// IOleObject::Close options.
inline constexpr DWORD OLECLOSE_SAVEIFDIRTY = 0;
inline constexpr DWORD OLECLOSE_NOSAVE = 1;
inline constexpr DWORD OLECLOSE_PROMPTSAVE = 2;

// Monikers a site is asked for.
inline constexpr DWORD OLEGETMONIKER_ONLYIFTHERE = 1;
inline constexpr DWORD OLEWHICHMK_CONTAINER = 1;
inline constexpr DWORD OLEWHICHMK_OBJREL = 2;
inline constexpr DWORD OLEWHICHMK_OBJFULL = 3;

// IOleInPlaceSiteEx::OnInPlaceActivateEx flags.
inline constexpr DWORD ACTIVATE_WINDOWLESS = 1;

// Stream seek origins and Stat flags.
inline constexpr DWORD STREAM_SEEK_SET = 0;
inline constexpr DWORD STREAM_SEEK_CUR = 1;
inline constexpr DWORD STREAM_SEEK_END = 2;
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;
inline constexpr DWORD STGTY_STREAM = 2;

// Documented statuses of the interfaces here.
inline constexpr HRESULT OLE_E_NOCONNECTION = static_cast<HRESULT>(0x80040004);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003);
inline constexpr HRESULT OLE_E_NOT_INPLACEACTIVE = static_cast<HRESULT>(0x80040010);
inline constexpr HRESULT OLE_E_INVALIDRECT = static_cast<HRESULT>(0x8004000D);
inline constexpr HRESULT INPLACE_E_NOTOOLSPACE = static_cast<HRESULT>(0x800401A1);
inline constexpr HRESULT OLEOBJ_S_INVALIDVERB = static_cast<HRESULT>(0x00040180);
inline constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001);
inline constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009);
inline constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070);

// Ambient properties a container answers through its site's IDispatch.
inline constexpr DISPID DISPID_AMBIENT_BACKCOLOR = -701;
inline constexpr DISPID DISPID_AMBIENT_DISPLAYNAME = -702;
inline constexpr DISPID DISPID_AMBIENT_FONT = -703;
inline constexpr DISPID DISPID_AMBIENT_FORECOLOR = -704;
inline constexpr DISPID DISPID_AMBIENT_LOCALEID = -705;
inline constexpr DISPID DISPID_AMBIENT_MESSAGEREFLECT = -706;
inline constexpr DISPID DISPID_AMBIENT_SCALEUNITS = -707;
inline constexpr DISPID DISPID_AMBIENT_TEXTALIGN = -708;
inline constexpr DISPID DISPID_AMBIENT_USERMODE = -709;
inline constexpr DISPID DISPID_AMBIENT_UIDEAD = -710;
inline constexpr DISPID DISPID_AMBIENT_SHOWGRABHANDLES = -711;
inline constexpr DISPID DISPID_AMBIENT_SHOWHATCHING = -712;
inline constexpr DISPID DISPID_AMBIENT_DISPLAYASDEFAULT = -713;
inline constexpr DISPID DISPID_AMBIENT_SUPPORTSMNEMONICS = -714;
inline constexpr DISPID DISPID_AMBIENT_AUTOCLIP = -715;
inline constexpr DISPID DISPID_AMBIENT_APPEARANCE = -716;

// ---------------------------------------------------------------------------
// Structures
// ---------------------------------------------------------------------------
using OLE_COLOR = DWORD;

union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  };
  ULONGLONG QuadPart;
};

struct SIZEL {
  LONG cx;
  LONG cy;
};
struct POINTL {
  LONG x;
  LONG y;
};
struct POINTF {
  float x;
  float y;
};
struct RECTL {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPCRECTL = const RECTL*;
using BORDERWIDTHS = RECT;
using LPBORDERWIDTHS = RECT*;
using LPCBORDERWIDTHS = const RECT*;

struct OLEMENUGROUPWIDTHS {
  LONG width[6];
};
PLATFORM_DECLARE_HANDLE(HOLEMENU);
PLATFORM_DECLARE_HANDLE(HACCEL);

struct OLEINPLACEFRAMEINFO {
  UINT cb;
  BOOL fMDIApp;
  HWND hwndFrame;
  HACCEL haccel;
  UINT cAccelEntries;
};

struct CONTROLINFO {
  ULONG cb;
  HACCEL hAccel;
  USHORT cAccel;
  DWORD dwFlags;
};

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct STATSTG {
  LPOLESTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};

struct LOGPALETTE;
struct DVTARGETDEVICE;
struct FORMATETC;
struct STGMEDIUM;
struct IMoniker;
struct IBindCtx;
struct IDataObject;
struct IEnumOLEVERB;
struct IEnumSTATDATA;

// ---------------------------------------------------------------------------
// Interfaces
// ---------------------------------------------------------------------------
struct IEnumUnknown : IUnknown {
  virtual HRESULT Next(ULONG count, IUnknown** items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumUnknown** clone) = 0;

 protected:
  ~IEnumUnknown() = default;
};

struct ISequentialStream : IUnknown {
  virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;

 protected:
  ~ISequentialStream() = default;
};

struct IStream : ISequentialStream {
  virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
  virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                         ULARGE_INTEGER* written) = 0;
  virtual HRESULT Commit(DWORD flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
  virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
  virtual HRESULT Clone(IStream** clone) = 0;

 protected:
  ~IStream() = default;
};
using LPSTREAM = IStream*;

struct IPersist : IUnknown {
  virtual HRESULT GetClassID(CLSID* clsid) = 0;

 protected:
  ~IPersist() = default;
};

struct IPersistStreamInit : IPersist {
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(LPSTREAM stream) = 0;
  virtual HRESULT Save(LPSTREAM stream, BOOL clearDirty) = 0;
  virtual HRESULT GetSizeMax(ULARGE_INTEGER* size) = 0;
  virtual HRESULT InitNew() = 0;

 protected:
  ~IPersistStreamInit() = default;
};

struct IErrorLog : IUnknown {
  virtual HRESULT AddError(LPCOLESTR propertyName, EXCEPINFO* excep) = 0;

 protected:
  ~IErrorLog() = default;
};

struct IPropertyBag : IUnknown {
  // value->vt on entry is the type the reader wants (VT_EMPTY: any).
  virtual HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
  virtual HRESULT Write(LPCOLESTR name, VARIANT* value) = 0;

 protected:
  ~IPropertyBag() = default;
};

struct IPersistPropertyBag : IPersist {
  virtual HRESULT InitNew() = 0;
  virtual HRESULT Load(IPropertyBag* bag, IErrorLog* log) = 0;
  virtual HRESULT Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) = 0;

 protected:
  ~IPersistPropertyBag() = default;
};

struct IAdviseSink : IUnknown {
  virtual void OnDataChange(FORMATETC* format, STGMEDIUM* medium) = 0;
  virtual void OnViewChange(DWORD aspect, LONG index) = 0;
  virtual void OnRename(IMoniker* moniker) = 0;
  virtual void OnSave() = 0;
  virtual void OnClose() = 0;

 protected:
  ~IAdviseSink() = default;
};

struct IPropertyNotifySink : IUnknown {
  virtual HRESULT OnChanged(DISPID id) = 0;
  virtual HRESULT OnRequestEdit(DISPID id) = 0;

 protected:
  ~IPropertyNotifySink() = default;
};

struct IParseDisplayName : IUnknown {
  virtual HRESULT ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                   IMoniker** moniker) = 0;

 protected:
  ~IParseDisplayName() = default;
};

struct IOleContainer : IParseDisplayName {
  virtual HRESULT EnumObjects(DWORD flags, IEnumUnknown** objects) = 0;
  virtual HRESULT LockContainer(BOOL lock) = 0;

 protected:
  ~IOleContainer() = default;
};

struct IOleClientSite : IUnknown {
  virtual HRESULT SaveObject() = 0;
  virtual HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) = 0;
  virtual HRESULT GetContainer(IOleContainer** container) = 0;
  virtual HRESULT ShowObject() = 0;
  virtual HRESULT OnShowWindow(BOOL show) = 0;
  virtual HRESULT RequestNewObjectLayout() = 0;

 protected:
  ~IOleClientSite() = default;
};

struct IOleObject : IUnknown {
  virtual HRESULT SetClientSite(IOleClientSite* site) = 0;
  virtual HRESULT GetClientSite(IOleClientSite** site) = 0;
  virtual HRESULT SetHostNames(LPCOLESTR containerApp, LPCOLESTR containerObject) = 0;
  virtual HRESULT Close(DWORD saveOption) = 0;
  virtual HRESULT SetMoniker(DWORD which, IMoniker* moniker) = 0;
  virtual HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) = 0;
  virtual HRESULT InitFromData(IDataObject* data, BOOL creation, DWORD reserved) = 0;
  virtual HRESULT GetClipboardData(DWORD reserved, IDataObject** data) = 0;
  virtual HRESULT DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index, HWND parent,
                         LPCRECT position) = 0;
  virtual HRESULT EnumVerbs(IEnumOLEVERB** verbs) = 0;
  virtual HRESULT Update() = 0;
  virtual HRESULT IsUpToDate() = 0;
  virtual HRESULT GetUserClassID(CLSID* clsid) = 0;
  virtual HRESULT GetUserType(DWORD form, LPOLESTR* userType) = 0;
  virtual HRESULT SetExtent(DWORD aspect, SIZEL* size) = 0;
  virtual HRESULT GetExtent(DWORD aspect, SIZEL* size) = 0;
  virtual HRESULT Advise(IAdviseSink* sink, DWORD* connection) = 0;
  virtual HRESULT Unadvise(DWORD connection) = 0;
  virtual HRESULT EnumAdvise(IEnumSTATDATA** advises) = 0;
  virtual HRESULT GetMiscStatus(DWORD aspect, DWORD* status) = 0;
  virtual HRESULT SetColorScheme(LOGPALETTE* palette) = 0;

 protected:
  ~IOleObject() = default;
};

struct IOleWindow : IUnknown {
  virtual HRESULT GetWindow(HWND* hwnd) = 0;
  virtual HRESULT ContextSensitiveHelp(BOOL enterMode) = 0;

 protected:
  ~IOleWindow() = default;
};

struct IOleInPlaceObject : IOleWindow {
  virtual HRESULT InPlaceDeactivate() = 0;
  virtual HRESULT UIDeactivate() = 0;
  virtual HRESULT SetObjectRects(LPCRECT position, LPCRECT clip) = 0;
  virtual HRESULT ReactivateAndUndo() = 0;

 protected:
  ~IOleInPlaceObject() = default;
};

struct IOleInPlaceUIWindow;

struct IOleInPlaceActiveObject : IOleWindow {
  virtual HRESULT TranslateAccelerator(LPMSG msg) = 0;
  virtual HRESULT OnFrameWindowActivate(BOOL activate) = 0;
  virtual HRESULT OnDocWindowActivate(BOOL activate) = 0;
  virtual HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) = 0;
  virtual HRESULT EnableModeless(BOOL enable) = 0;

 protected:
  ~IOleInPlaceActiveObject() = default;
};

struct IOleInPlaceUIWindow : IOleWindow {
  virtual HRESULT GetBorder(LPRECT border) = 0;
  virtual HRESULT RequestBorderSpace(LPCBORDERWIDTHS widths) = 0;
  virtual HRESULT SetBorderSpace(LPCBORDERWIDTHS widths) = 0;
  virtual HRESULT SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) = 0;

 protected:
  ~IOleInPlaceUIWindow() = default;
};

struct IOleInPlaceFrame : IOleInPlaceUIWindow {
  virtual HRESULT InsertMenus(HMENU shared, OLEMENUGROUPWIDTHS* widths) = 0;
  virtual HRESULT SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) = 0;
  virtual HRESULT RemoveMenus(HMENU shared) = 0;
  virtual HRESULT SetStatusText(LPCOLESTR text) = 0;
  virtual HRESULT EnableModeless(BOOL enable) = 0;
  virtual HRESULT TranslateAccelerator(LPMSG msg, WORD id) = 0;

 protected:
  ~IOleInPlaceFrame() = default;
};

struct IOleInPlaceSite : IOleWindow {
  virtual HRESULT CanInPlaceActivate() = 0;
  virtual HRESULT OnInPlaceActivate() = 0;
  virtual HRESULT OnUIActivate() = 0;
  virtual HRESULT GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                   LPRECT position, LPRECT clip,
                                   OLEINPLACEFRAMEINFO* frameInfo) = 0;
  virtual HRESULT Scroll(SIZE extent) = 0;
  virtual HRESULT OnUIDeactivate(BOOL undoable) = 0;
  virtual HRESULT OnInPlaceDeactivate() = 0;
  virtual HRESULT DiscardUndoState() = 0;
  virtual HRESULT DeactivateAndUndo() = 0;
  virtual HRESULT OnPosRectChange(LPCRECT position) = 0;

 protected:
  ~IOleInPlaceSite() = default;
};

struct IOleInPlaceSiteEx : IOleInPlaceSite {
  virtual HRESULT OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) = 0;
  virtual HRESULT OnInPlaceDeactivateEx(BOOL noRedraw) = 0;
  virtual HRESULT RequestUIActivate() = 0;

 protected:
  ~IOleInPlaceSiteEx() = default;
};

struct IOleInPlaceSiteWindowless : IOleInPlaceSiteEx {
  virtual HRESULT CanWindowlessActivate() = 0;
  virtual HRESULT GetCapture() = 0;
  virtual HRESULT SetCapture(BOOL capture) = 0;
  virtual HRESULT GetFocus() = 0;
  virtual HRESULT SetFocus(BOOL focus) = 0;
  virtual HRESULT GetDC(LPCRECT rect, DWORD flags, HDC* dc) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  virtual HRESULT InvalidateRect(LPCRECT rect, BOOL erase) = 0;
  virtual HRESULT InvalidateRgn(HRGN region, BOOL erase) = 0;
  virtual HRESULT ScrollRect(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) = 0;
  virtual HRESULT AdjustRect(LPRECT rect) = 0;
  virtual HRESULT OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;

 protected:
  ~IOleInPlaceSiteWindowless() = default;
};

struct IOleControl : IUnknown {
  virtual HRESULT GetControlInfo(CONTROLINFO* info) = 0;
  virtual HRESULT OnMnemonic(MSG* msg) = 0;
  virtual HRESULT OnAmbientPropertyChange(DISPID id) = 0;
  virtual HRESULT FreezeEvents(BOOL freeze) = 0;

 protected:
  ~IOleControl() = default;
};

struct IOleControlSite : IUnknown {
  virtual HRESULT OnControlInfoChanged() = 0;
  virtual HRESULT LockInPlaceActive(BOOL lock) = 0;
  virtual HRESULT GetExtendedControl(IDispatch** control) = 0;
  virtual HRESULT TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) = 0;
  virtual HRESULT TranslateAccelerator(MSG* msg, DWORD modifiers) = 0;
  virtual HRESULT OnFocus(BOOL gotFocus) = 0;
  virtual HRESULT ShowPropertyFrame() = 0;

 protected:
  ~IOleControlSite() = default;
};

struct IViewObject : IUnknown {
  virtual HRESULT Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                       HDC targetDevice, HDC draw, LPCRECTL bounds, LPCRECTL windowBounds,
                       BOOL (*keepDrawing)(ULONG_PTR), ULONG_PTR keepDrawingArgument) = 0;
  virtual HRESULT GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                              HDC targetDevice, LOGPALETTE** colours) = 0;
  virtual HRESULT Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) = 0;
  virtual HRESULT Unfreeze(DWORD freeze) = 0;
  virtual HRESULT SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) = 0;
  virtual HRESULT GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) = 0;

 protected:
  ~IViewObject() = default;
};

// ---------------------------------------------------------------------------
// Functions (shlwapi)
// ---------------------------------------------------------------------------
// A new stream over a copy of `size` bytes at `data` (null data: an empty
// stream), positioned at its start; it grows on writes. Null when out of
// memory.
IStream* SHCreateMemStream(const BYTE* data, UINT size);

// ---------------------------------------------------------------------------
// Identifiers for ComPtr::As and QueryInterfaceOf
// ---------------------------------------------------------------------------
#define PLATFORM_OLE_INTERFACE_ID(Interface)             \
  template <>                                            \
  struct InterfaceId<Interface> {                        \
    static constexpr const IID& value = IID_##Interface; \
  }
PLATFORM_OLE_INTERFACE_ID(IEnumUnknown);
PLATFORM_OLE_INTERFACE_ID(ISequentialStream);
PLATFORM_OLE_INTERFACE_ID(IStream);
PLATFORM_OLE_INTERFACE_ID(IPersist);
PLATFORM_OLE_INTERFACE_ID(IPersistStreamInit);
PLATFORM_OLE_INTERFACE_ID(IPersistPropertyBag);
PLATFORM_OLE_INTERFACE_ID(IPropertyBag);
PLATFORM_OLE_INTERFACE_ID(IErrorLog);
PLATFORM_OLE_INTERFACE_ID(IAdviseSink);
PLATFORM_OLE_INTERFACE_ID(IPropertyNotifySink);
PLATFORM_OLE_INTERFACE_ID(IParseDisplayName);
PLATFORM_OLE_INTERFACE_ID(IOleContainer);
PLATFORM_OLE_INTERFACE_ID(IOleClientSite);
PLATFORM_OLE_INTERFACE_ID(IOleObject);
PLATFORM_OLE_INTERFACE_ID(IOleWindow);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceObject);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceActiveObject);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceUIWindow);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceFrame);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceSite);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceSiteEx);
PLATFORM_OLE_INTERFACE_ID(IOleInPlaceSiteWindowless);
PLATFORM_OLE_INTERFACE_ID(IOleControl);
PLATFORM_OLE_INTERFACE_ID(IOleControlSite);
PLATFORM_OLE_INTERFACE_ID(IViewObject);
#undef PLATFORM_OLE_INTERFACE_ID

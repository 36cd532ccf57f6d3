// Component object basics: the reference-counted interfaces, GUID text forms,
// class registration and creation, and ComPtr for holding references.
//
// Interfaces are abstract classes with the documented member order. All
// references crossing an interface follow the usual rules: an out-parameter
// carries a reference that the receiver releases; an in-parameter is borrowed.
#pragma once

#include <utility>

#include "platform/types.h"

// Interface identifiers (documented values).
inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDispatch{
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IEnumVARIANT{
    0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IErrorInfo{
    0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ICreateErrorInfo{
    0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ISupportErrorInfo{
    0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_IConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnectionPoints{
    0xB196B285, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnections{
    0xB196B287, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IProvideClassInfo{
    0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IProvideClassInfo2{
    0xA6BC3AC0, 0xDBAA, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

struct ITypeInfo;  // never implemented here: GetTypeInfo answers E_NOTIMPL

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;  // objects die through Release only
};

struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;

 protected:
  ~IClassFactory() = default;
};

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* excep, UINT* argErr) = 0;

 protected:
  ~IDispatch() = default;
};

struct IErrorInfo : IUnknown {
  virtual HRESULT GetGUID(GUID* guid) = 0;
  virtual HRESULT GetSource(BSTR* source) = 0;
  virtual HRESULT GetDescription(BSTR* description) = 0;
  virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
  virtual HRESULT GetHelpContext(DWORD* helpContext) = 0;

 protected:
  ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
  virtual HRESULT SetGUID(REFGUID guid) = 0;
  virtual HRESULT SetSource(LPOLESTR source) = 0;
  virtual HRESULT SetDescription(LPOLESTR description) = 0;
  virtual HRESULT SetHelpFile(LPOLESTR helpFile) = 0;
  virtual HRESULT SetHelpContext(DWORD helpContext) = 0;

 protected:
  ~ICreateErrorInfo() = default;
};

struct ISupportErrorInfo : IUnknown {
  virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};

struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
};

struct IConnectionPointContainer;

struct IEnumConnections : IUnknown {
  virtual HRESULT Next(ULONG count, CONNECTDATA* items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnections** clone) = 0;

 protected:
  ~IEnumConnections() = default;
};

struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* iid) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  virtual HRESULT Unadvise(DWORD cookie) = 0;
  virtual HRESULT EnumConnections(IEnumConnections** connections) = 0;

 protected:
  ~IConnectionPoint() = default;
};

struct IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG count, IConnectionPoint** items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints** clone) = 0;

 protected:
  ~IEnumConnectionPoints() = default;
};

struct IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

// What a control tells its container about its class. Only GetGUID with
// GUIDKIND_DEFAULT_SOURCE_DISP_IID is of use here (there are no type
// libraries: GetClassInfo answers E_NOTIMPL).
inline constexpr DWORD GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;

struct IProvideClassInfo : IUnknown {
  virtual HRESULT GetClassInfo(ITypeInfo** info) = 0;

 protected:
  ~IProvideClassInfo() = default;
};

struct IProvideClassInfo2 : IProvideClassInfo {
  // The identifier of the kind asked for: the default event (source)
  // dispinterface; E_INVALIDARG for other kinds.
  virtual HRESULT GetGUID(DWORD guidKind, GUID* guid) = 0;

 protected:
  ~IProvideClassInfo2() = default;
};

// ---------------------------------------------------------------------------
// Functions (ole32)
// ---------------------------------------------------------------------------
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_SERVER = 0x15;
inline constexpr DWORD REGCLS_MULTIPLEUSE = 1;

HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

// Registers a class factory for the process; the registry holds a reference
// until CoRevokeClassObject. Registering a class again replaces the factory.
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags,
                              DWORD* cookie);
HRESULT CoRevokeClassObject(DWORD cookie);
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, LPVOID reserved, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case; returns the number
// of characters written including the terminator, 0 when max is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int max);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);

// The identifier of an interface type, for ComPtr::As and QueryInterfaceOf.
// Interfaces declared elsewhere add their own specialisation.
template <typename T>
struct InterfaceId;
template <>
struct InterfaceId<IUnknown> {
  static constexpr const IID& value = IID_IUnknown;
};
template <>
struct InterfaceId<IDispatch> {
  static constexpr const IID& value = IID_IDispatch;
};
template <>
struct InterfaceId<IErrorInfo> {
  static constexpr const IID& value = IID_IErrorInfo;
};
template <>
struct InterfaceId<ICreateErrorInfo> {
  static constexpr const IID& value = IID_ICreateErrorInfo;
};
template <>
struct InterfaceId<ISupportErrorInfo> {
  static constexpr const IID& value = IID_ISupportErrorInfo;
};
template <>
struct InterfaceId<IProvideClassInfo2> {
  static constexpr const IID& value = IID_IProvideClassInfo2;
};
template <>
struct InterfaceId<IConnectionPointContainer> {
  static constexpr const IID& value = IID_IConnectionPointContainer;
};
template <>
struct InterfaceId<IConnectionPoint> {
  static constexpr const IID& value = IID_IConnectionPoint;
};
template <>
struct InterfaceId<IClassFactory> {
  static constexpr const IID& value = IID_IClassFactory;
};

// ---------------------------------------------------------------------------
// ComPtr: a counted reference to an interface.
// ---------------------------------------------------------------------------
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference on p.
  ComPtr(T* p) : p_(p) { addRef(); }
  ComPtr(const ComPtr& other) : p_(other.p_) { addRef(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <typename U>
  ComPtr(const ComPtr<U>& other) : p_(other.Get()) {
    addRef();
  }
  ~ComPtr() { release(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  // Adopts an existing reference (no AddRef).
  static ComPtr Adopt(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // For out-parameters: releases the current reference first.
  T** ReleaseAndGetAddressOf() {
    release();
    return &p_;
  }
  T** operator&() { return ReleaseAndGetAddressOf(); }

  void Attach(T* p) {
    release();
    p_ = p;
  }
  [[nodiscard]] T* Detach() { return std::exchange(p_, nullptr); }
  void Reset() { release(); }

  // Hands out a new reference through an out-parameter.
  void CopyTo(T** out) const {
    *out = p_;
    if (p_) p_->AddRef();
  }

  // Queries for interface U into `out` (released first).
  template <typename U>
  HRESULT As(ComPtr<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(InterfaceId<U>::value,
                              reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
  }
  HRESULT QueryInterface(REFIID riid, void** ppv) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(riid, ppv);
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  void addRef() {
    if (p_) p_->AddRef();
  }
  void release() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }

  T* p_ = nullptr;
};

// Queries p for interface U; returns a null ComPtr when p is null or lacks it.
template <typename U, typename T>
ComPtr<U> QueryInterfaceOf(T* p) {
  ComPtr<U> out;
  if (p) p->QueryInterface(InterfaceId<U>::value, reinterpret_cast<void**>(&out));
  return out;
}

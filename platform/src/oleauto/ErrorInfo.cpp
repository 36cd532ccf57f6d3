// The per-thread error information slot and the standard error object.
#include <atomic>
#include <new>

#include "platform/oleauto.h"

namespace {

thread_local ComPtr<IErrorInfo> t_errorInfo;

// The object CreateErrorInfo hands out: both the writer and the reader side.
class StandardErrorInfo final : public IErrorInfo, public ICreateErrorInfo {
 public:
  // IUnknown (reached through either base)
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppv = static_cast<IErrorInfo*>(this);
    } else if (riid == IID_ICreateErrorInfo) {
      *ppv = static_cast<ICreateErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IErrorInfo
  HRESULT GetGUID(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = guid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* out) override { return copyOut(source_, out); }
  HRESULT GetDescription(BSTR* out) override { return copyOut(description_, out); }
  HRESULT GetHelpFile(BSTR* out) override { return copyOut(helpFile_, out); }
  HRESULT GetHelpContext(DWORD* out) override {
    if (!out) return E_INVALIDARG;
    *out = helpContext_;
    return S_OK;
  }

  // ICreateErrorInfo
  HRESULT SetGUID(REFGUID guid) override {
    guid_ = guid;
    return S_OK;
  }
  HRESULT SetSource(LPOLESTR text) override { return store(text, &source_); }
  HRESULT SetDescription(LPOLESTR text) override { return store(text, &description_); }
  HRESULT SetHelpFile(LPOLESTR text) override { return store(text, &helpFile_); }
  HRESULT SetHelpContext(DWORD context) override {
    helpContext_ = context;
    return S_OK;
  }

 private:
  ~StandardErrorInfo() = default;

  static HRESULT copyOut(const Bstr& field, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = field.get() ? SysAllocStringLen(field.get(), field.length()) : nullptr;
    return (field.get() && !*out) ? E_OUTOFMEMORY : S_OK;
  }
  static HRESULT store(LPOLESTR text, Bstr* field) {
    *field = Bstr(text);
    return (text && !field->get()) ? E_OUTOFMEMORY : S_OK;
  }

  std::atomic<ULONG> refs_{1};
  GUID guid_{};
  Bstr source_;
  Bstr description_;
  Bstr helpFile_;
  DWORD helpContext_ = 0;
};

}  // namespace

HRESULT SetErrorInfo(ULONG, IErrorInfo* info) {
  t_errorInfo = ComPtr<IErrorInfo>(info);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** info) {
  if (!info) return E_INVALIDARG;
  *info = t_errorInfo.Detach();
  return *info ? S_OK : S_FALSE;
}

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
  if (!info) return E_INVALIDARG;
  *info = new (std::nothrow) StandardErrorInfo;
  return *info ? S_OK : E_OUTOFMEMORY;
}

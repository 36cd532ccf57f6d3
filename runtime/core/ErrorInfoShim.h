// IErrorInfo over the thread's error object, registered with SetErrorInfo after
// every raise so that callers read the current error through the standard
// interface. It is not reference counted: it lives as long as its thread.
#pragma once

#include "platform/com.h"
#include "runtime/core/ErrorObject.h"

namespace rt {

class ErrorInfoShim final : public IErrorInfo {
 public:
  explicit ErrorInfoShim(const ErrorObject& error) : error_(error) {}
  ErrorInfoShim(const ErrorInfoShim&) = delete;
  ErrorInfoShim& operator=(const ErrorInfoShim&) = delete;
  ~ErrorInfoShim() = default;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }

  HRESULT GetGUID(GUID* guid) override;
  HRESULT GetSource(BSTR* source) override;
  HRESULT GetDescription(BSTR* description) override;
  HRESULT GetHelpFile(BSTR* helpFile) override;
  HRESULT GetHelpContext(DWORD* helpContext) override;

 private:
  const ErrorObject& error_;
};

}  // namespace rt

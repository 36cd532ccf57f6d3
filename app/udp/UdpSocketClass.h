// The socket control's class object and its registration with the
// platform's class registry, so that hosts create it with CoCreateInstance.
#pragma once

#include "platform/com.h"

namespace skiffwire {

// Registers the class factory of CLSID_UdpSocket for the process.
HRESULT RegisterUdpSocketClass(DWORD* cookie);

// Registers the class for the lifetime of the object.
class ScopedUdpSocketClass {
 public:
  ScopedUdpSocketClass() { status_ = RegisterUdpSocketClass(&cookie_); }
  ~ScopedUdpSocketClass() {
    if (SUCCEEDED(status_)) CoRevokeClassObject(cookie_);
  }
  ScopedUdpSocketClass(const ScopedUdpSocketClass&) = delete;
  ScopedUdpSocketClass& operator=(const ScopedUdpSocketClass&) = delete;

  HRESULT status() const { return status_; }

 private:
  DWORD cookie_ = 0;
  HRESULT status_ = E_FAIL;
};

}  // namespace skiffwire

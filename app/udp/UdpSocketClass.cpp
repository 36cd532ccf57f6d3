#include "app/udp/UdpSocketClass.h"

#include "app/udp/UdpSocket.h"
#include "runtime/com/ComObject.h"

namespace skiffwire {

namespace {

class UdpSocketFactory final : public rt::ComObject<UdpSocketFactory, IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ComPtr<UdpSocket> control = rt::MakeComObject<UdpSocket>();
    return control->QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
};

}  // namespace

HRESULT RegisterUdpSocketClass(DWORD* cookie) {
  ComPtr<UdpSocketFactory> factory = rt::MakeComObject<UdpSocketFactory>();
  return CoRegisterClassObject(CLSID_UdpSocket, factory->unknown(),
                               CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                               cookie);
}

}  // namespace skiffwire

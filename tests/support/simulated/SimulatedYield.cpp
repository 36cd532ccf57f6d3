#include "support/simulated/SimulatedYield.h"

#include "platform/user.h"

namespace skiffwire {

SimulatedYield::SimulatedYield(std::function<SHORT()> loadedForms)
    : loadedForms_(std::move(loadedForms)) {}

HRESULT SimulatedYield::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT SimulatedYield::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT SimulatedYield::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

HRESULT SimulatedYield::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT SimulatedYield::DoEvents(SHORT* loadedForms) {
  ++calls_;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (loadedForms) *loadedForms = loadedForms_ ? loadedForms_() : 1;
  return S_OK;
}

}  // namespace skiffwire

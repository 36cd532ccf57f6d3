// The language's DoEvents over the platform's message queue: dispatches
// every message already queued for the thread (timer ticks and socket
// notifications included) and returns without waiting for new ones.
#pragma once

#include <functional>

#include "app/members/IYield.h"
#include "runtime/com/ComObject.h"

namespace skiffwire {

class SimulatedYield final : public rt::ComObject<SimulatedYield, IYield> {
 public:
  // loadedForms gives the count DoEvents returns (the forms engine's count of
  // loaded forms); without it the count is 1.
  explicit SimulatedYield(std::function<SHORT()> loadedForms = {});

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  HRESULT DoEvents(SHORT* loadedForms) override;

  int calls() const { return calls_; }

 private:
  std::function<SHORT()> loadedForms_;
  int calls_ = 0;
};

}  // namespace skiffwire

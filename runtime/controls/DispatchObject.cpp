#include "runtime/controls/DispatchObject.h"

namespace rt {

HRESULT InitialiseRuntimeClass() {
  return S_OK;
}

HRESULT DispatchObject::ensureClassInitialised() {
  if (classInitialised()) return S_OK;
  const ClassDescriptor& cls = descriptor();
  if (!cls.initialise) return E_FAIL;
  flags_ |= kClassInitialised;
  return cls.initialise();
}

}  // namespace rt

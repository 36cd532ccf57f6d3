// Forwarding entries: a class that delegates members to a contained object
// calls through these, which fail with error 91 when the object is missing.
#pragma once

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace rt {

// Calls `call(inner)`; a null inner object fails the call with run-time error
// 91 ("Object variable or With block variable not set") through the error
// object, leaving the caller to raise it at its own site.
template <typename Inner, typename Call>
HRESULT Forward(Inner* inner, Call&& call) {
  if (!inner) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return call(inner);
}

}  // namespace rt

// Persisted bytes to object, through the installed loader.
#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"

struct IUnknown;

namespace rt::design {

HRESULT LoadPersistedObject(std::span<const uint8_t> bytes, IUnknown** out);

}  // namespace rt::design

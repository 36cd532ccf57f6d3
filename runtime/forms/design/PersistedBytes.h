// The object a persisted-bytes value (such as a stored picture) becomes
// when no loader for its format is installed: it keeps the bytes.
#pragma once

#include <cstdint>
#include <span>

#include "platform/com.h"

namespace rt {

// {6D1C2F41-5A7E-4B0F-9C31-2E8B7A4D1F01}
inline constexpr IID IID_IPersistedBytes{
    0x6D1C2F41, 0x5A7E, 0x4B0F, {0x9C, 0x31, 0x2E, 0x8B, 0x7A, 0x4D, 0x1F, 0x01}};

struct IPersistedBytes : IUnknown {
  virtual std::span<const uint8_t> bytes() = 0;

 protected:
  ~IPersistedBytes() = default;
};

// Creates the default holder over a copy of bytes.
HRESULT CreatePersistedBytes(std::span<const uint8_t> bytes, IUnknown** out);

}  // namespace rt

template <>
struct InterfaceId<rt::IPersistedBytes> {
  static constexpr const IID& value = rt::IID_IPersistedBytes;
};

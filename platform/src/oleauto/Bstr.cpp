// BSTR allocation: a 32-bit byte length, the characters, then a UTF-16 NUL.
#include <cstdlib>
#include <cstring>

#include "platform/oleauto.h"

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);
// Keeps every length representable in the 32-bit prefix with room for the terminator.
constexpr size_t kMaxBytes = 0x7FFFFFF0u;

BSTR allocateBytes(const void* source, size_t byteLength) {
  if (byteLength > kMaxBytes) return nullptr;
  auto* block = static_cast<uint8_t*>(std::malloc(kPrefix + byteLength + sizeof(OLECHAR) + 1));
  if (!block) return nullptr;
  const uint32_t length = static_cast<uint32_t>(byteLength);
  std::memcpy(block, &length, kPrefix);
  uint8_t* data = block + kPrefix;
  if (source) {
    std::memcpy(data, source, byteLength);
  } else {
    std::memset(data, 0, byteLength);
  }
  // Terminate on both an odd and an even byte boundary.
  data[byteLength] = 0;
  data[byteLength + 1] = 0;
  data[byteLength + 2] = 0;
  return reinterpret_cast<BSTR>(data);
}

size_t terminatedLength(const OLECHAR* text) {
  size_t n = 0;
  while (text[n] != 0)
    ++n;
  return n;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(terminatedLength(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  return allocateBytes(text, static_cast<size_t>(length) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT byteLength) {
  return allocateBytes(bytes, byteLength);
}

INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
  if (!target) return FALSE;
  BSTR fresh = SysAllocStringLen(text, length);
  if (!fresh) return FALSE;
  SysFreeString(*target);
  *target = fresh;
  return TRUE;
}

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
  if (!target) return FALSE;
  return SysReAllocStringLen(target, text, text ? static_cast<UINT>(terminatedLength(text)) : 0);
}

void SysFreeString(BSTR text) {
  if (!text) return;
  std::free(reinterpret_cast<uint8_t*>(text) - kPrefix);
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  uint32_t length;
  std::memcpy(&length, reinterpret_cast<uint8_t*>(text) - kPrefix, kPrefix);
  return length;
}

UINT SysStringLen(BSTR text) {
  return SysStringByteLen(text) / sizeof(OLECHAR);
}

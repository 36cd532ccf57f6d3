#include "runtime/core/ErrorNumbers.h"

#include "platform/kernel.h"
#include "runtime/core/ErrorMessageTable.h"

namespace rt {
namespace {

bool hasControlFacility(uint32_t value) {
  return (value & 0x1FFF0000u) == 0x000A0000u;
}

int numberOf(HRESULT status) {
  const auto s = static_cast<uint32_t>(status);
  switch (s) {
    case 0x80020005u:  // DISP_E_TYPEMISMATCH
      return 13;
    case 0x80020003u:  // DISP_E_MEMBERNOTFOUND
      return 438;
    case 0x80020008u:  // DISP_E_BADVARTYPE
      return 458;
    case 0x8002000Au:  // DISP_E_OVERFLOW
      return 6;
    case 0x80020004u:  // DISP_E_PARAMNOTFOUND
      return 448;
    case 0x80020012u:  // DISP_E_DIVBYZERO
      return 11;
    case 0x80070057u:  // E_INVALIDARG
      return 5;
    default:
      break;
  }
  if ((s & 0xFFFF0000u) == 0x800A0000u) return static_cast<int>(s & 0xFFFF);
  return status;
}

}  // namespace

int MapStatusToNumber(HRESULT status, const char16_t** messageText, bool useDefaultText) {
  const int number = numberOf(status);
  if (messageText) {
    const char16_t* text = ErrorMessage(number);
    if (!text && (status >= 0 || useDefaultText)) text = kApplicationDefinedError;
    *messageText = text;
  }
  return number;
}

int StoredNumber(int mapped) {
  const auto value = static_cast<uint32_t>(mapped);
  return hasControlFacility(value) ? static_cast<int>(value & 0xFFFF) : mapped;
}

Bstr SystemMessageText(HRESULT status) {
  const auto s = static_cast<uint32_t>(status);
  const DWORD id = (s & 0x1FFF0000u) == 0x00080000u ? (s & 0xFFFF) : s;
  LPWSTR text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
      nullptr, id, 0x0400, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (length == 0 || !text) return {};
  UINT kept = length;
  if (kept > 2 && text[kept - 2] == u'\r' && text[kept - 1] == u'\n') kept -= 2;
  Bstr result = Bstr::Adopt(SysAllocStringLen(text, kept));
  LocalFree(text);
  return result;
}

Bstr DefaultDescription(int number) {
  const char16_t* text = nullptr;
  MapStatusToNumber(number, &text);
  if (text) return Bstr(text);
  if (Bstr system = SystemMessageText(number); system.get()) return system;
  return Bstr(kApplicationDefinedError);
}

}  // namespace rt

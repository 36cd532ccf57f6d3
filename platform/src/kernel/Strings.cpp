// Length of NUL-terminated texts.
#include <cstring>
#include <string>

#include "platform/kernel.h"

int lstrlenW(LPCWSTR text) {
  return text ? static_cast<int>(std::char_traits<char16_t>::length(text)) : 0;
}

int lstrlenA(LPCSTR text) {
  return text ? static_cast<int>(std::strlen(text)) : 0;
}

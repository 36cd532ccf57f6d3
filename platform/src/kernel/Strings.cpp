// Length of NUL-terminated texts, and MulDiv.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/kernel.h"

int lstrlenW(LPCWSTR text) {
  return text ? static_cast<int>(std::char_traits<char16_t>::length(text)) : 0;
}

int lstrlenA(LPCSTR text) {
  return text ? static_cast<int>(std::strlen(text)) : 0;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  int64_t divisor = denominator;
  bool negative = (product < 0) != (divisor < 0);
  uint64_t magnitude = product < 0 ? 0 - static_cast<uint64_t>(product) : product;
  uint64_t by = divisor < 0 ? 0 - static_cast<uint64_t>(divisor) : divisor;
  uint64_t quotient = (magnitude + by / 2) / by;
  if (quotient > static_cast<uint64_t>(std::numeric_limits<int>::max())) return -1;
  return negative ? -static_cast<int>(quotient) : static_cast<int>(quotient);
}

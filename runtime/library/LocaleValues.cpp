#include "runtime/library/LocaleValues.h"

#include <atomic>

#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace rt {
namespace {

// 0 until the value's step has run.
std::atomic<uint32_t> g_decimalSeparator{0};
std::atomic<int> g_firstDayOfWeek{0};
std::atomic<int> g_firstWeekOfYear{0};

// A number the locale gives through LOCALE_RETURN_NUMBER; 0 when it gives
// none.
DWORD LocaleNumber(LCTYPE type) {
  DWORD value = 0;
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPSTR>(&value), sizeof value) == 0) {
    return 0;
  }
  return value;
}

}  // namespace

HRESULT ReadDecimalSeparator() {
  char16_t separator = u'.';
  BSTR text = nullptr;
  if (SUCCEEDED(VarBstrFromR8(0.1, LOCALE_USER_DEFAULT, 0, &text)) && SysStringLen(text) >= 2) {
    separator = text[1];
  }
  SysFreeString(text);
  g_decimalSeparator.store(separator);
  return S_OK;
}

HRESULT ReadFirstDayOfWeek() {
  // The locale counts from Monday (0) to Sunday (6); the language from
  // Sunday (1) to Saturday (7).
  const DWORD day = LocaleNumber(LOCALE_IFIRSTDAYOFWEEK);
  g_firstDayOfWeek.store(static_cast<int>((day + 1) % 7) + 1);
  return S_OK;
}

HRESULT ReadFirstWeekOfYear() {
  // The locale's 0, 1 and 2 are the language's 1, 3 and 2.
  const DWORD week = LocaleNumber(LOCALE_IFIRSTWEEKOFYEAR);
  int value = static_cast<int>(week);
  if (week == 0) value = 1;
  if (week == 1) value = 3;
  g_firstWeekOfYear.store(value);
  return S_OK;
}

char16_t DecimalSeparator() {
  if (g_decimalSeparator.load() == 0) ReadDecimalSeparator();
  return static_cast<char16_t>(g_decimalSeparator.load());
}

int FirstDayOfWeek() {
  if (g_firstDayOfWeek.load() == 0) ReadFirstDayOfWeek();
  return g_firstDayOfWeek.load();
}

int FirstWeekOfYear() {
  if (g_firstWeekOfYear.load() == 0) ReadFirstWeekOfYear();
  return g_firstWeekOfYear.load();
}

}  // namespace rt

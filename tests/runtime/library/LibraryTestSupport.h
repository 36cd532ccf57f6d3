// Helpers for the library's tests: variants by reference and holding
// objects, the texts of a result array, and a user locale together with the
// locale values read under it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/oleauto.h"
#include "runtime/library/LocaleValues.h"

namespace rt::testing {

inline Variant ObjectVariant(IDispatch* object) {
  Variant v;
  v.vt = VT_DISPATCH;
  v.pdispVal = object;
  if (object) object->AddRef();
  return v;
}

// A variant that refers to target.
inline VARIANT RefTo(VARIANT& target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = &target;
  return v;
}

// Takes ownership of text and returns it as a string.
inline std::u16string Adopted(BSTR text) {
  Bstr owner = Bstr::Adopt(text);
  return std::u16string(owner.view());
}

// The elements of a one-dimensional array of texts.
inline std::vector<std::u16string> TextsOf(const VARIANT& array) {
  std::vector<std::u16string> texts;
  if (array.vt != (VT_ARRAY | VT_BSTR) || !array.parray) return texts;
  LONG lower = 0;
  LONG upper = -1;
  SafeArrayGetLBound(array.parray, 1, &lower);
  SafeArrayGetUBound(array.parray, 1, &upper);
  for (LONG i = lower; i <= upper; ++i) {
    BSTR element = nullptr;
    SafeArrayGetElement(array.parray, &i, &element);
    texts.push_back(Adopted(element));
  }
  return texts;
}

// Installs a user locale and reads the locale values under it; restores both
// when it ends.
class ScopedLocaleValues {
 public:
  explicit ScopedLocaleValues(LCID lcid) {
    locale_.emplace(lcid);
    ReadAll();
  }
  ~ScopedLocaleValues() {
    locale_.reset();
    ReadAll();
  }
  ScopedLocaleValues(const ScopedLocaleValues&) = delete;
  ScopedLocaleValues& operator=(const ScopedLocaleValues&) = delete;

 private:
  static void ReadAll() {
    ReadDecimalSeparator();
    ReadFirstDayOfWeek();
    ReadFirstWeekOfYear();
  }
  std::optional<platform::ScopedUserLocale> locale_;
};

}  // namespace rt::testing

#include "runtime/controls/extender/StoredPropertyBag.h"

#include <string_view>

#include "platform/kernel.h"

namespace rt {

namespace {

// Names are stored as bytes of the system code page.
std::u16string Widen(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string text(static_cast<size_t>(needed), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<LPWSTR>(text.data()),
                      needed);
  return text;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

StoredPropertyBag::StoredPropertyBag(const std::vector<NamedValue>& entries) {
  entries_.reserve(entries.size());
  for (const NamedValue& entry : entries)
    entries_.push_back({Widen(entry.name), entry.value});
}

HRESULT StoredPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) {
  if (!name || !value) return E_POINTER;
  const std::u16string_view wanted(name);
  for (const Entry& entry : entries_) {
    if (!SameName(entry.name, wanted)) continue;
    const VARTYPE type = value->vt;
    VariantInit(value);
    const HRESULT hr = type == VT_EMPTY ? VariantCopy(value, &entry.value)
                                        : VariantChangeType(value, &entry.value, 0, type);
    if (FAILED(hr) && log) {
      EXCEPINFO info{};
      info.scode = hr;
      log->AddError(name, &info);
    }
    return hr;
  }
  return E_INVALIDARG;
}

}  // namespace rt

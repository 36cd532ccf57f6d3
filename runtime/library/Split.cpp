#include "runtime/library/Split.h"

#include <limits>
#include <memory>
#include <optional>

#include "platform/kernel.h"
#include "runtime/core/Status.h"
#include "runtime/library/internal/DelimiterSearch.h"
#include "runtime/library/internal/LibrarySupport.h"
#include "runtime/library/internal/MatchTable.h"
#include "runtime/library/internal/NormalizedArgument.h"

namespace rt {
namespace {

using internal::DelimiterSearch;
using internal::MatchTable;

struct ArrayDestroy {
  void operator()(SAFEARRAY* array) const { SafeArrayDestroy(array); }
};
using ArrayHolder = std::unique_ptr<SAFEARRAY, ArrayDestroy>;

// The locale a compare mode stands for; nothing for the binary mode.
HRESULT CompareLocale(LONG compare, std::optional<LCID>* lcid) {
  if (compare == kBinaryCompare) {
    lcid->reset();
    return S_OK;
  }
  if (compare == kTextCompare) {
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  // Any other value names a locale, which must be able to compare.
  const auto named = static_cast<LCID>(compare);
  if (CompareStringW(named, DelimiterSearch::kTextCompareFlags, u"A", 1, u"A", 1) == 0) {
    return E_INVALIDARG;
  }
  *lcid = named;
  return S_OK;
}

// Creates the result array from the pieces the matches cut the text into.
HRESULT BuildArray(std::u16string_view text, size_t delimiterLength, const MatchTable& matches,
                   SAFEARRAY** out) {
  const size_t count = matches.size() + 1;
  ArrayHolder array(SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(count)));
  if (!array) return E_OUTOFMEMORY;
  void* data = nullptr;
  if (HRESULT hr = SafeArrayAccessData(array.get(), &data); FAILED(hr)) return hr;
  auto* elements = static_cast<BSTR*>(data);
  HRESULT status = S_OK;
  size_t start = 0;
  for (size_t i = 0; i < count && SUCCEEDED(status); ++i) {
    const size_t end = i < matches.size() ? matches[i] : text.size();
    status = internal::AllocateText(text.substr(start, end - start), &elements[i]);
    start = end + delimiterLength;
  }
  SafeArrayUnaccessData(array.get());
  if (FAILED(status)) return status;
  *out = array.release();
  return S_OK;
}

HRESULT DeliverArray(SAFEARRAY* array, VARIANT* result) {
  result->vt = VT_ARRAY | VT_BSTR;
  result->parray = array;
  return S_OK;
}

HRESULT DeliverEmptyArray(VARIANT* result) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, 0);
  if (!array) return E_OUTOFMEMORY;
  return DeliverArray(array, result);
}

// Records where the text is cut: every match left to right, stopping once
// limit - 1 are found.
HRESULT FindMatches(std::u16string_view text, std::u16string_view delimiter,
                    std::optional<LCID> lcid, LONG limit, MatchTable& matches) {
  if (delimiter.empty()) return S_OK;
  const DelimiterSearch search =
      lcid ? DelimiterSearch::Text(delimiter, *lcid) : DelimiterSearch::Binary(delimiter);
  const size_t maxMatches =
      limit == -1 ? std::numeric_limits<size_t>::max() : static_cast<size_t>(limit) - 1;
  size_t from = 0;
  while (matches.size() < maxMatches) {
    const size_t at = search.find(text, from);
    if (at == DelimiterSearch::npos) break;
    if (!matches.add(static_cast<UINT>(at))) return E_OUTOFMEMORY;
    from = at + delimiter.size();
  }
  return S_OK;
}

HRESULT DelimiterText(const VARIANT& delimiter, internal::NormalizedArgument& argument,
                      std::u16string_view* text) {
  if (internal::IsMissing(delimiter)) {
    *text = u" ";
    return S_OK;
  }
  if (HRESULT hr = argument.normalize(delimiter); FAILED(hr)) return hr;
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  return argument.text(text);
}

}  // namespace

HRESULT Split(BSTR text, const VARIANT& delimiter, LONG limit, LONG compare, VARIANT* result) {
  VariantInit(result);
  if (limit < -1) return E_INVALIDARG;
  std::optional<LCID> lcid;
  if (HRESULT hr = CompareLocale(compare, &lcid); FAILED(hr)) return hr;
  internal::NormalizedArgument argument;
  std::u16string_view separator;
  if (HRESULT hr = DelimiterText(delimiter, argument, &separator); FAILED(hr)) return hr;

  const std::u16string_view whole = internal::ViewOf(text);
  if (limit == 0 || whole.empty()) return DeliverEmptyArray(result);

  MatchTable matches;
  if (HRESULT hr = FindMatches(whole, separator, lcid, limit, matches); FAILED(hr)) return hr;
  SAFEARRAY* array = nullptr;
  if (HRESULT hr = BuildArray(whole, separator.size(), matches, &array); FAILED(hr)) return hr;
  return DeliverArray(array, result);
}

}  // namespace rt

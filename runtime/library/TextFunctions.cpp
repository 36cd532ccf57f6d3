#include "runtime/library/TextFunctions.h"

#include "platform/kernel.h"
#include "runtime/core/Status.h"
#include "runtime/library/internal/LibrarySupport.h"
#include "runtime/library/internal/NormalizedArgument.h"

namespace rt {
namespace {

using internal::kMaxCount;

// Counts from -1 down are rejected, including those below -1073741824 that
// the language would otherwise map onto other counts.
bool IsValidCount(LONG count) {
  return count >= 0 && count <= kMaxCount;
}

std::u16string_view Rightmost(std::u16string_view text, LONG count) {
  const auto kept = static_cast<size_t>(count);
  return kept >= text.size() ? text : text.substr(text.size() - kept);
}

// The length argument of Mid: the rest of the text when missing.
HRESULT MidLength(const VARIANT& length, size_t textLength, size_t* out) {
  if (internal::IsMissing(length)) {
    *out = textLength;
    return S_OK;
  }
  if (length.vt == VT_I4) {  // a Long held directly needs no conversion
    if (!IsValidCount(length.lVal)) return E_INVALIDARG;
    *out = static_cast<size_t>(length.lVal);
    return S_OK;
  }
  internal::NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(length); FAILED(hr)) return hr;
  if (argument.isNull()) return ErrorStatus(err::InvalidUseOfNull);
  Variant converted;
  if (HRESULT hr = argument.changeType(VT_I4, VARIANT_ALPHABOOL, &converted); FAILED(hr)) {
    return hr;
  }
  if (!IsValidCount(converted.lVal)) return E_INVALIDARG;
  *out = static_cast<size_t>(converted.lVal);
  return S_OK;
}

}  // namespace

HRESULT Asc(BSTR text, SHORT* code) {
  *code = 0;
  if (SysStringLen(text) == 0) return E_INVALIDARG;
  char bytes[2] = {};
  const int written = WideCharToMultiByte(CP_ACP, 0, text, 1, bytes, 2, nullptr, nullptr);
  if (written <= 0) return E_INVALIDARG;
  const auto low = static_cast<BYTE>(bytes[0]);
  const auto high = written == 2 ? static_cast<BYTE>(bytes[1]) : BYTE{0};
  *code = static_cast<SHORT>(low | (high << 8));
  return S_OK;
}

HRESULT Left(BSTR text, LONG count, BSTR* result) {
  *result = nullptr;
  if (!IsValidCount(count)) return E_INVALIDARG;
  return internal::AllocateText(internal::ViewOf(text).substr(0, static_cast<size_t>(count)),
                                result);
}

HRESULT Right(const VARIANT& value, LONG count, VARIANT* result) {
  VariantInit(result);
  if (!IsValidCount(count)) return E_INVALIDARG;
  internal::NormalizedArgument argument;
  if (HRESULT hr = argument.normalize(value); FAILED(hr)) return hr;
  if (argument.isNull()) {
    result->vt = VT_NULL;
    return S_OK;
  }
  std::u16string_view text;
  if (HRESULT hr = argument.text(&text); FAILED(hr)) return hr;
  BSTR piece = nullptr;
  if (HRESULT hr = internal::AllocateText(Rightmost(text, count), &piece); FAILED(hr)) return hr;
  result->vt = VT_BSTR;
  result->bstrVal = piece;
  return S_OK;
}

HRESULT Mid(BSTR text, LONG start, const VARIANT& length, BSTR* result) {
  *result = nullptr;
  const LONGLONG offset = static_cast<LONGLONG>(start) - 1;
  if (offset < 0 || offset > kMaxCount) return E_INVALIDARG;
  const std::u16string_view whole = internal::ViewOf(text);
  size_t wanted = 0;
  if (HRESULT hr = MidLength(length, whole.size(), &wanted); FAILED(hr)) return hr;
  const auto from = static_cast<size_t>(offset);
  if (from >= whole.size()) return internal::AllocateText({}, result);
  return internal::AllocateText(whole.substr(from, wanted), result);
}

}  // namespace rt

#include "runtime/library/internal/DelimiterSearch.h"

#include "platform/kernel.h"

namespace rt::internal {

DelimiterSearch DelimiterSearch::Binary(std::u16string_view delimiter) {
  return DelimiterSearch(delimiter, true, 0);
}

DelimiterSearch DelimiterSearch::Text(std::u16string_view delimiter, LCID lcid) {
  return DelimiterSearch(delimiter, false, lcid);
}

DelimiterSearch::DelimiterSearch(std::u16string_view delimiter, bool binary, LCID lcid)
    : delimiter_(delimiter), binary_(binary), lcid_(lcid) {
  if (!binary_ || delimiter_.size() <= 2) return;
  borders_.assign(delimiter_.size(), 0);
  size_t border = 0;
  for (size_t i = 1; i < delimiter_.size(); ++i) {
    while (border > 0 && delimiter_[i] != delimiter_[border])
      border = borders_[border - 1];
    if (delimiter_[i] == delimiter_[border]) ++border;
    borders_[i] = border;
  }
}

size_t DelimiterSearch::find(std::u16string_view text, size_t from) const {
  if (from >= text.size() || text.size() - from < delimiter_.size()) return npos;
  if (!binary_) return findText(text, from);
  if (delimiter_.size() == 1) return findUnit(text, from);
  if (delimiter_.size() == 2) return findPair(text, from);
  return findLong(text, from);
}

size_t DelimiterSearch::findUnit(std::u16string_view text, size_t from) const {
  return text.find(delimiter_[0], from);
}

size_t DelimiterSearch::findPair(std::u16string_view text, size_t from) const {
  const char16_t first = delimiter_[0];
  const char16_t second = delimiter_[1];
  for (size_t i = from; i + 1 < text.size(); ++i) {
    if (text[i] == first && text[i + 1] == second) return i;
  }
  return npos;
}

size_t DelimiterSearch::findLong(std::u16string_view text, size_t from) const {
  size_t matched = 0;
  for (size_t i = from; i < text.size(); ++i) {
    while (matched > 0 && text[i] != delimiter_[matched])
      matched = borders_[matched - 1];
    if (text[i] == delimiter_[matched]) ++matched;
    if (matched == delimiter_.size()) return i + 1 - matched;
  }
  return npos;
}

size_t DelimiterSearch::findText(std::u16string_view text, size_t from) const {
  const size_t length = delimiter_.size();
  const int count = static_cast<int>(length);
  for (size_t i = from; i + length <= text.size(); ++i) {
    if (CompareStringW(lcid_, kTextCompareFlags, text.data() + i, count, delimiter_.data(),
                       count) == CSTR_EQUAL) {
      return i;
    }
  }
  return npos;
}

}  // namespace rt::internal

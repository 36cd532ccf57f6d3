// Finds Split's delimiter in a text, left to right, in one of the compare
// modes: code units exactly (binary) or through CompareStringW under a locale
// (text), which ignores case, kana type and width.
#pragma once

#include <string_view>
#include <vector>

#include "platform/types.h"

namespace rt::internal {

class DelimiterSearch {
 public:
  static constexpr size_t npos = std::u16string_view::npos;
  // CompareStringW flags of the text mode.
  static constexpr DWORD kTextCompareFlags = 0x30001;

  // The delimiter must outlive the search and must not be empty.
  static DelimiterSearch Binary(std::u16string_view delimiter);
  static DelimiterSearch Text(std::u16string_view delimiter, LCID lcid);

  // The first position at or after `from` where the delimiter matches; npos
  // when there is none.
  size_t find(std::u16string_view text, size_t from) const;

 private:
  DelimiterSearch(std::u16string_view delimiter, bool binary, LCID lcid);

  size_t findUnit(std::u16string_view text, size_t from) const;
  size_t findPair(std::u16string_view text, size_t from) const;
  size_t findLong(std::u16string_view text, size_t from) const;
  size_t findText(std::u16string_view text, size_t from) const;

  std::u16string_view delimiter_;
  bool binary_;
  LCID lcid_;
  // For binary delimiters of three or more units: the length of the longest
  // proper border of each prefix, so a failed comparison never steps back in
  // the text and a search stays linear.
  std::vector<size_t> borders_;
};

}  // namespace rt::internal

// The texts the Print # and Write # statements put between and around
// values, in the encoding of a file: one table with 8-bit texts for files in
// the ANSI code page and the other byte code pages, one with UTF-16 texts for
// files in code page 1200. Lengths are in bytes.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "platform/types.h"

namespace rt {

enum class PrintText : uint8_t {
  LineBreak,     // CR LF
  Separator,     // ,
  Space,         // one space; the entry points at a run of kSpaceRun spaces
  OpeningQuote,  // "
  ClosingQuote,  // "
  NullInPrint,   // Null
  NullInWrite,   // #NULL#
  TrueInWrite,   // #TRUE#
  FalseInWrite,  // #FALSE#
  ErrorInWrite,  // "#ERROR "
  ErrorInPrint,  // "Error "
};

class PrintFormatTable {
 public:
  struct Entry {
    const BYTE* text;
    DWORD byteLength;
  };
  static constexpr size_t kEntryCount = static_cast<size_t>(PrintText::ErrorInPrint) + 1;
  // Spaces stored behind the space entry, for writers of several at once.
  static constexpr size_t kSpaceRun = 15;

  // The table of 8-bit texts, and the table of UTF-16 texts.
  static const PrintFormatTable& Narrow();
  static const PrintFormatTable& Wide();
  // The table a file of this code page uses.
  static const PrintFormatTable& ForCodePage(UINT codePage);

  std::span<const BYTE> bytes(PrintText which) const {
    const Entry& entry = entries_[static_cast<size_t>(which)];
    return {entry.text, entry.byteLength};
  }
  // Bytes per character: 1 or 2.
  DWORD unitSize() const { return unitSize_; }

  PrintFormatTable(const std::array<Entry, kEntryCount>& entries, DWORD unitSize)
      : entries_(entries), unitSize_(unitSize) {}

 private:
  std::array<Entry, kEntryCount> entries_;
  DWORD unitSize_;
};

}  // namespace rt

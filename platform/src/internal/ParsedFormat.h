// A format text parsed once: its sections, the kind of each and the number
// pattern of each. VarFormat takes parsed formats from a small cache of the
// calling thread, so a format used again and again (a log line's time stamp)
// is parsed only the first time.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "internal/FormatSections.h"
#include "internal/NumberPattern.h"

namespace platform::internal {

class ParsedFormat {
 public:
  // The sections a value can pick: positive, negative, zero and Null.
  static constexpr size_t kValueSections = 4;

  explicit ParsedFormat(std::u16string_view format);
  ParsedFormat(const ParsedFormat&) = delete;
  ParsedFormat& operator=(const ParsedFormat&) = delete;

  // The parsed form of format: one of the last few formats the calling
  // thread used, or parsed now and remembered in place of the oldest. What
  // is handed out stays valid while the caller holds it.
  static std::shared_ptr<const ParsedFormat> Of(std::u16string_view format);

  std::u16string_view text() const { return text_; }
  // Whether this is the parsed form of format.
  bool matches(std::u16string_view format) const;
  size_t sectionCount() const { return sections_.size(); }
  // The section at index; empty when the format has fewer sections.
  std::u16string_view section(size_t index) const { return sections_.at(index); }
  // FormatSections::KindOf and the NumberPattern of a section a value can
  // pick (index below kValueSections).
  SectionKind kind(size_t index) const { return kinds_[index]; }
  const NumberPattern& numberPattern(size_t index) const { return patterns_[index]; }

 private:
  const std::u16string text_;
  const FormatSections sections_;  // views into text_, which never moves
  std::array<SectionKind, kValueSections> kinds_{};
  std::vector<NumberPattern> patterns_;
};

}  // namespace platform::internal

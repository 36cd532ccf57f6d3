// The sections of a format text: positive; negative; zero; Null for numbers,
// or text; empty-text for strings.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace platform::internal {

enum class SectionKind {
  Number,  // digit placeholders, or literal text only
  Date,    // date and time fields and no digit placeholders
  Text,    // character placeholders (@ &) or case and fill markers (< > !)
};

class FormatSections {
 public:
  // Splits at the semicolons outside quoted text and backslash escapes. The
  // sections are views into format, which must outlive this object.
  explicit FormatSections(std::u16string_view format);

  size_t size() const { return sections_.size(); }
  // The section at index; empty when the format has fewer sections.
  std::u16string_view at(size_t index) const;

  static SectionKind KindOf(std::u16string_view section);

  // Calls visit(c) for each character outside quoted text and escapes.
  template <typename Visit>
  static void ForEachPlain(std::u16string_view section, Visit visit) {
    for (size_t i = 0; i < section.size(); ++i) {
      if (section[i] == u'"') {
        const size_t close = section.find(u'"', i + 1);
        if (close == std::u16string_view::npos) return;
        i = close;
      } else if (section[i] == u'\\') {
        ++i;
      } else {
        visit(section[i], i);
      }
    }
  }

 private:
  std::vector<std::u16string_view> sections_;
};

}  // namespace platform::internal

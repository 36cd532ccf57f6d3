#include "internal/FormatSections.h"

namespace platform::internal {
namespace {

bool isDateLetter(char16_t c) {
  switch (c | 0x20) {
    case u'd':
    case u'm':
    case u'y':
    case u'h':
    case u'n':
    case u's':
    case u'w':
    case u'q':
    case u'c':
      return true;
    default:
      return false;
  }
}

// "AM/PM", "A/P", "AMPM" in any case, and "ttttt", at position i.
bool isTimeMarker(std::u16string_view section, size_t i) {
  auto startsWith = [&](std::u16string_view marker) {
    if (section.size() - i < marker.size()) return false;
    for (size_t k = 0; k < marker.size(); ++k) {
      if ((section[i + k] | 0x20) != marker[k]) return false;
    }
    return true;
  };
  return startsWith(u"am/pm") || startsWith(u"a/p") || startsWith(u"ampm") || startsWith(u"ttttt");
}

}  // namespace

FormatSections::FormatSections(std::u16string_view format) {
  size_t start = 0;
  ForEachPlain(format, [&](char16_t c, size_t i) {
    if (c != u';') return;
    sections_.push_back(format.substr(start, i - start));
    start = i + 1;
  });
  sections_.push_back(format.substr(start));
}

std::u16string_view FormatSections::at(size_t index) const {
  return index < sections_.size() ? sections_[index] : std::u16string_view();
}

SectionKind FormatSections::KindOf(std::u16string_view section) {
  bool text = false;
  bool digits = false;
  bool date = false;
  ForEachPlain(section, [&](char16_t c, size_t i) {
    if (c == u'@' || c == u'&' || c == u'<' || c == u'>' || c == u'!') text = true;
    if (c == u'0' || c == u'#') digits = true;
    if (isDateLetter(c) || isTimeMarker(section, i)) date = true;
  });
  if (text && !digits) return SectionKind::Text;
  if (digits || !date) return SectionKind::Number;
  return SectionKind::Date;
}

}  // namespace platform::internal

#include "internal/ParsedFormat.h"

#include <cstring>

namespace platform::internal {
namespace {

// A program formats with a handful of short formats; longer texts are parsed
// each time rather than kept.
constexpr size_t kRememberedFormats = 8;
constexpr size_t kLongestRememberedFormat = 256;

struct RememberedFormats {
  std::array<std::shared_ptr<const ParsedFormat>, kRememberedFormats> formats;
  size_t oldest = 0;  // the entry the next new format replaces
};

thread_local RememberedFormats t_remembered;

}  // namespace

ParsedFormat::ParsedFormat(std::u16string_view format) : text_(format), sections_(text_) {
  patterns_.reserve(kValueSections);
  for (size_t i = 0; i < kValueSections; ++i) {
    kinds_[i] = FormatSections::KindOf(section(i));
    patterns_.emplace_back(section(i));
  }
}

bool ParsedFormat::matches(std::u16string_view format) const {
  return text_.size() == format.size() &&
         std::memcmp(text_.data(), format.data(), format.size() * sizeof(char16_t)) == 0;
}

std::shared_ptr<const ParsedFormat> ParsedFormat::Of(std::u16string_view format) {
  if (format.size() > kLongestRememberedFormat) return std::make_shared<const ParsedFormat>(format);
  RememberedFormats& remembered = t_remembered;
  for (const std::shared_ptr<const ParsedFormat>& parsed : remembered.formats) {
    if (parsed && parsed->matches(format)) return parsed;
  }
  auto parsed = std::make_shared<const ParsedFormat>(format);
  remembered.formats[remembered.oldest] = parsed;
  remembered.oldest = (remembered.oldest + 1) % kRememberedFormats;
  return parsed;
}

}  // namespace platform::internal

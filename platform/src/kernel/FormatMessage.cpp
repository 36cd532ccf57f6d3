// FormatMessageW: system messages and message strings with inserts.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "internal/CodePage.h"
#include "internal/SystemMessages.h"
#include "platform/kernel.h"

namespace {

constexpr DWORD kSourceFlags =
    FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kLangEnglish = 0x09;

struct ExpandOptions {
  bool ignoreInserts;
  // A width limit is set: regular line breaks become spaces. Lines are not
  // wrapped again at the width.
  bool joinLines;
  const DWORD_PTR* arguments;
};

DWORD fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The system's messages are English; a request for another language fails.
bool hasLanguage(DWORD languageId) {
  return languageId == 0 || languageId == 0x0400 || languageId == 0x0800 ||
         (languageId & 0x3FF) == kLangEnglish;
}

std::u16string widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string textArgument(DWORD_PTR value, bool narrow) {
  if (value == 0) return u"(null)";
  if (narrow) {
    const char* bytes = reinterpret_cast<const char*>(value);
    return platform::internal::DecodeBytes(CP_WINDOWS1252, bytes, nullptr);
  }
  return reinterpret_cast<const char16_t*>(value);
}

// One argument formatted by its printf-style conversion (the text between
// the exclamation marks; "s" when there is none). Null for a conversion this
// platform does not take.
std::optional<std::u16string> formatArgument(DWORD_PTR value, std::string_view spec) {
  if (spec.empty() || spec.find('*') != std::string_view::npos) return std::nullopt;
  const char conversion = spec.back();
  std::string flags(spec.substr(0, spec.size() - 1));
  const bool narrow = flags.find('h') != std::string::npos ||
                      (conversion == 'S' && flags.find_first_of("lw") == std::string::npos);
  std::erase_if(flags, [](char c) { return c == 'l' || c == 'h' || c == 'w'; });
  const bool wide64 = flags.find("I64") != std::string::npos;
  if (wide64) flags.erase(flags.find("I64"), 3);
  if (flags.find_first_not_of("-+ #0123456789.") != std::string::npos) return std::nullopt;
  char text[96];
  const std::string format = "%" + flags + "ll" + conversion;
  switch (conversion) {
    case 's':
    case 'S':
      return textArgument(value, narrow);
    case 'c':
    case 'C':
      return std::u16string(1, static_cast<char16_t>(value));
    case 'd':
    case 'i': {
      const long long n = wide64 ? static_cast<long long>(value) : static_cast<int32_t>(value);
      std::snprintf(text, sizeof text, format.c_str(), n);
      return widen(text);
    }
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
      const unsigned long long n = wide64 ? value : static_cast<uint32_t>(value);
      std::snprintf(text, sizeof text, format.c_str(), n);
      return widen(text);
    }
    default:
      return std::nullopt;
  }
}

// Expands one insert "%n" or "%n!spec!" at pattern[start]; returns the index
// after it, or npos (with *error set) when it cannot be filled.
size_t expandInsert(std::u16string_view pattern, size_t start, const ExpandOptions& options,
                    std::u16string& out, DWORD* error) {
  size_t i = start + 1;
  int number = 0;
  for (int digits = 0; digits < 2 && i < pattern.size() && pattern[i] >= u'0' && pattern[i] <= u'9';
       ++digits, ++i) {
    number = number * 10 + (pattern[i] - u'0');
  }
  std::string spec = "s";
  if (i < pattern.size() && pattern[i] == u'!') {
    const size_t close = pattern.find(u'!', i + 1);
    if (close == std::u16string_view::npos) {
      *error = ERROR_INVALID_PARAMETER;
      return std::u16string_view::npos;
    }
    spec.assign(pattern.begin() + i + 1, pattern.begin() + close);
    i = close + 1;
  }
  if (options.ignoreInserts) {
    out.append(pattern.substr(start, i - start));
    return i;
  }
  std::optional<std::u16string> text;
  if (options.arguments) text = formatArgument(options.arguments[number - 1], spec);
  if (!text) {
    *error = ERROR_INVALID_PARAMETER;
    return std::u16string_view::npos;
  }
  out.append(*text);
  return i;
}

// The escape after a percent sign: %n a hard line break, %t a tab, %r a
// carriage return; %%, %., %! and "% " stand for the character itself.
void appendEscape(char16_t c, std::u16string& out) {
  switch (c) {
    case u'n':
      out.append(u"\r\n");
      return;
    case u't':
      out.push_back(u'\t');
      return;
    case u'r':
      out.push_back(u'\r');
      return;
    default:
      out.push_back(c);
      return;
  }
}

std::optional<std::u16string> expand(std::u16string_view pattern, const ExpandOptions& options,
                                     DWORD* error) {
  std::u16string out;
  for (size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'\r' || c == u'\n') {
      const size_t length =
          (c == u'\r' && i + 1 < pattern.size() && pattern[i + 1] == u'\n') ? 2 : 1;
      if (options.joinLines) {
        out.push_back(u' ');
      } else {
        out.append(pattern.substr(i, length));
      }
      i += length;
      continue;
    }
    if (c != u'%' || i + 1 == pattern.size()) {
      out.push_back(c);
      ++i;
      continue;
    }
    const char16_t next = pattern[i + 1];
    if (next == u'0') break;  // ends the message without a line break
    if (next >= u'1' && next <= u'9') {
      i = expandInsert(pattern, i, options, out, error);
      if (i == std::u16string_view::npos) return std::nullopt;
      continue;
    }
    appendEscape(next, out);
    i += 2;
  }
  return out;
}

DWORD deliver(const std::u16string& text, DWORD flags, LPWSTR buffer, DWORD size) {
  if (!buffer) return fail(ERROR_INVALID_PARAMETER);
  const size_t units = text.size() + 1;
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    const size_t allocated = std::max<size_t>(units, size);
    auto* block = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, allocated * sizeof(WCHAR)));
    if (!block) return fail(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(block, text.c_str(), units * sizeof(WCHAR));
    *reinterpret_cast<LPWSTR*>(buffer) = block;
    return static_cast<DWORD>(text.size());
  }
  if (size < units) return fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(buffer, text.c_str(), units * sizeof(WCHAR));
  return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments) {
  std::u16string pattern;
  if ((flags & kSourceFlags) == FORMAT_MESSAGE_FROM_STRING) {
    if (!source) return fail(ERROR_INVALID_PARAMETER);
    pattern = static_cast<LPCWSTR>(source);
  } else if (flags & FORMAT_MESSAGE_FROM_SYSTEM) {
    if (flags & FORMAT_MESSAGE_FROM_STRING) return fail(ERROR_INVALID_PARAMETER);
    const char16_t* text = platform::internal::FindSystemMessage(messageId);
    if (!text) return fail(ERROR_MR_MID_NOT_FOUND);
    if (!hasLanguage(languageId)) return fail(ERROR_RESOURCE_LANG_NOT_FOUND);
    pattern = std::u16string(text) + u"\r\n";
  } else {
    // No module of this platform carries a message table.
    return fail((flags & FORMAT_MESSAGE_FROM_HMODULE) ? ERROR_MR_MID_NOT_FOUND
                                                      : ERROR_INVALID_PARAMETER);
  }
  const ExpandOptions options{(flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0,
                              (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0,
                              static_cast<const DWORD_PTR*>(arguments)};
  DWORD error = 0;
  std::optional<std::u16string> text = expand(pattern, options, &error);
  if (!text) return fail(error);
  return deliver(*text, flags, buffer, size);
}

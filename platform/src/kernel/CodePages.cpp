// MultiByteToWideChar and WideCharToMultiByte for the code pages this platform
// carries: 1252 (the ANSI code page), UTF-8 (65001) and UTF-7 (65000).
#include <array>
#include <string>

#include "internal/CodePage.h"
#include "platform/kernel.h"

namespace {

// Code points of bytes 0x80 to 0x9F in code page 1252; 0 marks the five bytes
// without a character, which map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decode1252(uint8_t b) {
  if (b < 0x80 || b >= 0xA0) return b;
  char16_t c = kHigh1252[b - 0x80];
  return c ? c : b;
}

// The byte for a character, or -1 when 1252 has none.
int encode1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (size_t i = 0; i < kHigh1252.size(); ++i) {
    char16_t mapped = kHigh1252[i] ? kHigh1252[i] : static_cast<char16_t>(0x80 + i);
    if (mapped == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

bool isSupported(UINT codePage) {
  return codePage == CP_WINDOWS1252 || codePage == CP_UTF8 || codePage == CP_UTF7;
}

UINT resolve(UINT codePage) {
  return (codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP) ? CP_WINDOWS1252
                                                                                   : codePage;
}

// Copies the converted units into the caller's buffer, or reports the size.
template <typename Unit>
int deliver(const std::basic_string<Unit>& converted, Unit* dest, int destLength) {
  if (destLength == 0) return static_cast<int>(converted.size());
  if (static_cast<size_t>(destLength) < converted.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(converted.begin(), converted.end(), dest);
  return static_cast<int>(converted.size());
}

}  // namespace

namespace platform::internal {

std::u16string DecodeBytes(UINT codePage, std::string_view bytes, bool* invalid) {
  codePage = resolve(codePage);
  std::u16string out;
  out.reserve(bytes.size());
  if (codePage == CP_WINDOWS1252) {
    for (unsigned char b : bytes)
      out.push_back(decode1252(b));
    return out;
  }
  if (codePage == CP_UTF7) return DecodeUtf7(bytes, invalid);
  // UTF-8: malformed sequences become U+FFFD, one per offending byte.
  size_t i = 0;
  while (i < bytes.size()) {
    auto b = static_cast<unsigned char>(bytes[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<size_t>(extra) < bytes.size() + (extra == 0);
    for (int k = 1; ok && k <= extra; ++k) {
      auto cont = static_cast<unsigned char>(bytes[i + k]);
      if ((cont & 0xC0) != 0x80) {
        ok = false;
      } else {
        cp = (cp << 6) | (cont & 0x3F);
      }
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (ok && (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
      ok = false;
    }
    if (!ok) {
      if (invalid) *invalid = true;
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string EncodeText(UINT codePage, std::u16string_view text, char defaultChar,
                       bool* usedDefault) {
  codePage = resolve(codePage);
  std::string out;
  out.reserve(text.size());
  if (codePage == CP_WINDOWS1252) {
    for (char16_t c : text) {
      int b = encode1252(c);
      if (b < 0) {
        if (usedDefault) *usedDefault = true;
        out.push_back(defaultChar);
      } else {
        out.push_back(static_cast<char>(b));
      }
    }
    return out;
  }
  if (codePage == CP_UTF7) return EncodeUtf7(text);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // an unpaired surrogate
      if (usedDefault) *usedDefault = true;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace platform::internal

UINT GetACP() {
  return CP_WINDOWS1252;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                        int destLength) {
  codePage = resolve(codePage);
  if (!source || sourceLength == 0 || sourceLength < -1 || destLength < 0 ||
      (destLength > 0 && !dest)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!isSupported(codePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = sourceLength == -1 ? std::char_traits<char>::length(source) + 1
                                     : static_cast<size_t>(sourceLength);
  bool invalid = false;
  std::u16string converted =
      platform::internal::DecodeBytes(codePage, std::string_view(source, length), &invalid);
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  return deliver(converted, dest, destLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest,
                        int destLength, LPCSTR defaultChar, BOOL* usedDefaultChar) {
  codePage = resolve(codePage);
  if (!source || sourceLength == 0 || sourceLength < -1 || destLength < 0 ||
      (destLength > 0 && !dest)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!isSupported(codePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // UTF-8 and UTF-7 take neither a default character nor its flag.
  if (codePage != CP_WINDOWS1252 && (defaultChar || usedDefaultChar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = sourceLength == -1 ? std::char_traits<char16_t>::length(source) + 1
                                     : static_cast<size_t>(sourceLength);
  bool used = false;
  std::string converted = platform::internal::EncodeText(
      codePage, std::u16string_view(source, length), defaultChar ? *defaultChar : '?', &used);
  if (codePage == CP_UTF8 && used && (flags & WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (usedDefaultChar) *usedDefaultChar = used ? TRUE : FALSE;
  return deliver(converted, dest, destLength);
}

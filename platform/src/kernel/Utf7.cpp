// UTF-7 (RFC 2152): direct characters, and "+" base64 runs of UTF-16 units
// ended by "-" or by any character outside the base64 alphabet.
#include "internal/CodePage.h"

namespace platform::internal {
namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Characters written as themselves (set D, set O and white space).
bool isDirect(char16_t c) {
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= 'a' && c <= 'z') return true;
  if (c >= '0' && c <= '9') return true;
  switch (c) {
    case '\'':
    case '(':
    case ')':
    case ',':
    case '-':
    case '.':
    case '/':
    case ':':
    case '?':
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '!':
    case '"':
    case '#':
    case '$':
    case '%':
    case '&':
    case '*':
    case ';':
    case '<':
    case '=':
    case '>':
    case '@':
    case '[':
    case ']':
    case '^':
    case '_':
    case '`':
    case '{':
    case '|':
    case '}':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string DecodeUtf7(std::string_view bytes, bool* invalid) {
  std::u16string out;
  size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i++];
    if (c != '+') {
      if (static_cast<unsigned char>(c) >= 0x80 && invalid) *invalid = true;
      out.push_back(static_cast<unsigned char>(c));
      continue;
    }
    if (i < bytes.size() && bytes[i] == '-') {  // "+-" is a plus sign
      out.push_back(u'+');
      ++i;
      continue;
    }
    uint32_t bits = 0;
    int bitCount = 0;
    while (i < bytes.size()) {
      int v = base64Value(bytes[i]);
      if (v < 0) break;
      ++i;
      bits = (bits << 6) | static_cast<uint32_t>(v);
      bitCount += 6;
      if (bitCount >= 16) {
        bitCount -= 16;
        out.push_back(static_cast<char16_t>((bits >> bitCount) & 0xFFFF));
      }
    }
    if (i < bytes.size() && bytes[i] == '-') ++i;  // the run's explicit end
  }
  return out;
}

std::string EncodeUtf7(std::u16string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    if (c == u'+') {
      out += "+-";
      ++i;
      continue;
    }
    if (isDirect(c)) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    out.push_back('+');
    uint32_t bits = 0;
    int bitCount = 0;
    while (i < text.size() && !isDirect(text[i]) && text[i] != u'+') {
      bits = (bits << 16) | text[i++];
      bitCount += 16;
      while (bitCount >= 6) {
        bitCount -= 6;
        out.push_back(kBase64[(bits >> bitCount) & 0x3F]);
      }
    }
    if (bitCount > 0) out.push_back(kBase64[(bits << (6 - bitCount)) & 0x3F]);
    // An explicit end keeps a following base64 character or "-" from joining the run.
    out.push_back('-');
  }
  return out;
}

}  // namespace platform::internal

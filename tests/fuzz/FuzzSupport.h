// What the fuzz targets share: a check that stops the run with its reason,
// a scratch folder for targets that read files, and the reading of fuzz
// bytes as texts.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// Stops the run (a finding) when what must hold does not.
#define FUZZ_CHECK(condition, what)                                                          \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #condition, \
                   what);                                                                    \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

namespace fuzz_support {

// A folder under /tmp for the whole run, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/skiffwire-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    posix_ = made;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(posix_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string posix(const std::string& name) const { return posix_ + "/" + name; }

  // The folder as the platform names it, on drive Z:.
  std::u16string win32() const {
    std::u16string path = u"Z:";
    for (char c : posix_)
      path += c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c));
    return path;
  }
  std::u16string win32(const std::string& name) const {
    std::u16string path = win32() + u"\\";
    for (char c : name)
      path += static_cast<char16_t>(static_cast<unsigned char>(c));
    return path;
  }

  void write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(posix(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
  }

 private:
  std::string posix_;
};

// Fuzz bytes as UTF-16 text: ASCII stays itself, and each byte from 0x80 up
// picks a character that number readers and formatters treat specially
// (spaces of other widths, digits of other scripts, currency signs) or else
// stands for itself as Latin-1, so short inputs reach those paths.
inline std::u16string TextOf(std::string_view bytes) {
  static constexpr char16_t kSpecial[] = {
      u'\u00A0', u'\u202F', u'\u3000', u'\u20AC', u'\u0142',
      u'\uFF10', u'\uFF11', u'\u0660', u'\u0663', u'\u00AD',
      u'\uFF0B', u'\uFF0D', u'\u2212', u'\u00B2', static_cast<char16_t>(0xD800),
      u'\uFFFF'};
  std::u16string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0x90) {
      text += kSpecial[byte - 0x80];
    } else {
      text += static_cast<char16_t>(byte);
    }
  }
  return text;
}

// The lines of a file as Line Input hands them out, each with the file
// position after it: a carriage return ends a line and takes a line feed
// right after it along, a lone line feed is an ordinary character, NUL units
// are dropped and the end of the data ends the last line. `unit` is 1 for
// byte files and 2 for UTF-16 files. A stray last byte of those is no
// character: a line that reaches it takes it along, except one ended by CR
// LF, after which it reads as one more, empty, line.
struct ModelLine {
  std::string units;  // the line's bytes, two per unit in UTF-16 files
  size_t end = 0;     // the position after the line and its end
};

inline std::vector<ModelLine> ModelLines(std::string_view bytes, size_t unit) {
  std::vector<ModelLine> lines;
  size_t position = 0;
  const size_t whole = bytes.size() - bytes.size() % unit;
  auto at = [&](size_t p) {
    return unit == 2 ? static_cast<unsigned>(static_cast<unsigned char>(bytes[p]) |
                                             static_cast<unsigned char>(bytes[p + 1]) << 8)
                     : static_cast<unsigned>(static_cast<unsigned char>(bytes[p]));
  };
  while (position < bytes.size()) {
    ModelLine line;
    bool endedByCrLf = false;
    while (position < whole) {
      const unsigned c = at(position);
      position += unit;
      if (c == 13) {
        endedByCrLf = position < whole && at(position) == 10;
        if (endedByCrLf) position += unit;
        break;
      }
      if (c != 0) line.units.append(bytes.substr(position - unit, unit));
    }
    if (!endedByCrLf && position >= whole) position = bytes.size();
    line.end = position;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace fuzz_support

#include "internal/PathNames.h"

#include <sys/stat.h>

#include <vector>

#include "internal/CodePage.h"
#include "platform/kernel.h"

namespace platform::internal {
namespace {

// Paths with the \\?\ prefix may be this long; others stay below MAX_PATH.
constexpr size_t kLongPathLimit = 32767;

bool isSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

bool isDriveLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

char16_t upper(char16_t c) {
  return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c;
}

bool startsWithDrive(std::u16string_view text) {
  return text.size() >= 2 && isDriveLetter(text[0]) && text[1] == u':';
}

// \\?\ or \\.\ (either separator).
bool startsWithDevicePrefix(std::u16string_view text) {
  return text.size() >= 4 && isSeparator(text[0]) && isSeparator(text[1]) &&
         (text[2] == u'?' || text[2] == u'.') && isSeparator(text[3]);
}

bool startsWithUnc(std::u16string_view text) {
  return text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1]);
}

bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (upper(text[i]) != upper(prefix[i])) return false;
  }
  return true;
}

// A full path as a root and the components below it.
struct PathParts {
  std::u16string root;              // "C:", "\\server\share", "\\?" (no separator after it)
  bool rootShowsSeparator = false;  // drive and device roots always end in "\"
  std::vector<std::u16string> components;
  bool trailingSeparator = false;
  bool trims = true;  // prefixed paths keep trailing periods and spaces

  std::u16string text() const {
    std::u16string out = root;
    for (const std::u16string& component : components) {
      out += u'\\';
      out += component;
    }
    bool separatorAfter =
        components.empty() ? (rootShowsSeparator || trailingSeparator) : trailingSeparator;
    if (separatorAfter) out += u'\\';
    return out;
  }

  void append(std::u16string_view relative) {
    size_t start = 0;
    while (start <= relative.size()) {
      size_t end = start;
      while (end < relative.size() && !isSeparator(relative[end]))
        ++end;
      appendComponent(relative.substr(start, end - start));
      start = end + 1;
    }
    trailingSeparator = !relative.empty() && isSeparator(relative.back());
    if (!trailingSeparator && trims) trimLastComponent();
  }

 private:
  void appendComponent(std::u16string_view component) {
    if (component.empty() || component == u".") return;
    if (component == u"..") {
      if (!components.empty()) components.pop_back();
      return;
    }
    std::u16string kept(component);
    // A component that ends in a single period loses it ("dir.\file").
    if (trims && kept.size() >= 2 && kept.back() == u'.' && kept[kept.size() - 2] != u'.') {
      kept.pop_back();
    }
    components.push_back(std::move(kept));
  }

  void trimLastComponent() {
    if (components.empty()) return;
    std::u16string& last = components.back();
    while (!last.empty() && (last.back() == u'.' || last.back() == u' '))
      last.pop_back();
    if (last.empty()) {
      components.pop_back();
      trailingSeparator = true;
    }
  }
};

// Splits an absolute path (device, UNC or drive form) into its root and the
// rest below the root; nothing for a relative one.
std::optional<std::pair<PathParts, std::u16string_view>> splitRoot(std::u16string_view path) {
  PathParts parts;
  if (startsWithDevicePrefix(path)) {
    parts.root = std::u16string(u"\\\\") + path[2];
    parts.rootShowsSeparator = true;
    parts.trims = false;
    return std::pair{parts, path.substr(4)};
  }
  if (startsWithUnc(path)) {
    // \\server\share: both names belong to the root and ".." never climbs above it.
    size_t serverEnd = 2;
    while (serverEnd < path.size() && !isSeparator(path[serverEnd]))
      ++serverEnd;
    size_t shareEnd = serverEnd < path.size() ? serverEnd + 1 : serverEnd;
    while (shareEnd < path.size() && !isSeparator(path[shareEnd]))
      ++shareEnd;
    parts.root = u"\\\\";
    parts.root += path.substr(2, serverEnd - 2);
    if (shareEnd > serverEnd + 1) {
      parts.root += u'\\';
      parts.root += path.substr(serverEnd + 1, shareEnd - serverEnd - 1);
    }
    return std::pair{parts, path.substr(shareEnd)};
  }
  if (startsWithDrive(path) && path.size() > 2 && isSeparator(path[2])) {
    parts.root = path.substr(0, 2);
    parts.rootShowsSeparator = true;
    return std::pair{parts, path.substr(2)};
  }
  return std::nullopt;
}

std::optional<PathParts> partsOfFullPath(std::u16string_view fullPath) {
  auto split = splitRoot(fullPath);
  if (!split) return std::nullopt;
  split->first.append(split->second);
  return split->first;
}

bool isDriveRoot(const PathParts& parts) {
  return startsWithDrive(parts.root) && parts.root.size() == 2;
}

// Characters no file name may hold.
bool isValidNameCharacter(char16_t c) {
  if (c < 32) return false;
  switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
    case u'/':
    case u'\\':
      return false;
    default:
      return true;
  }
}

// Strict UTF-16 to UTF-8: an unpaired surrogate has no POSIX name.
bool appendUtf8(std::u16string_view text, std::string* out) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
    if (c < 0x80) {
      out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (c >> 6)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (c >> 12)));
      out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (c >> 18)));
      out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return true;
}

PosixPath failure(DWORD error) {
  return PosixPath{{}, error};
}

// Path components after "X:" of a prefixed path, taken literally: no folding,
// so an empty, "." or ".." component is a bad name.
std::optional<std::vector<std::u16string_view>> literalComponents(std::u16string_view tail,
                                                                  bool* trailingSeparator) {
  std::vector<std::u16string_view> components;
  *trailingSeparator = tail.size() > 1 && tail.back() == u'\\';
  if (*trailingSeparator) tail.remove_suffix(1);
  if (tail.empty() || tail == u"\\") return components;
  if (tail.front() != u'\\') return std::nullopt;
  tail.remove_prefix(1);
  size_t start = 0;
  while (start <= tail.size()) {
    size_t end = tail.find(u'\\', start);
    if (end == std::u16string_view::npos) end = tail.size();
    std::u16string_view component = tail.substr(start, end - start);
    if (component.empty() || component == u"." || component == u"..") return std::nullopt;
    components.push_back(component);
    start = end + 1;
  }
  return components;
}

// POSIX path of drive Z: components; other drives name nothing here.
PosixPath posixOfDrivePath(char16_t drive, const std::vector<std::u16string_view>& components,
                           bool trailingSeparator) {
  for (std::u16string_view component : components) {
    for (char16_t c : component) {
      if (!isValidNameCharacter(c)) return failure(ERROR_INVALID_NAME);
    }
  }
  if (upper(drive) != u'Z') return failure(ERROR_PATH_NOT_FOUND);
  PosixPath result;
  for (std::u16string_view component : components) {
    result.path += '/';
    if (!appendUtf8(component, &result.path)) return failure(ERROR_INVALID_NAME);
  }
  if (result.path.empty() || trailingSeparator) result.path += '/';
  return result;
}

PosixPath posixOfPrefixedPath(std::u16string_view path) {
  if (path.size() > kLongPathLimit) return failure(ERROR_FILENAME_EXCED_RANGE);
  if (path[2] == u'.') return failure(ERROR_FILE_NOT_FOUND);  // no devices here
  std::u16string_view rest = path.substr(4);
  if (startsWithNoCase(rest, u"UNC\\")) return failure(ERROR_BAD_NETPATH);
  if (!startsWithDrive(rest)) return failure(ERROR_INVALID_NAME);
  bool trailingSeparator = false;
  auto components = literalComponents(rest.substr(2), &trailingSeparator);
  if (!components) return failure(ERROR_INVALID_NAME);
  return posixOfDrivePath(rest[0], *components, trailingSeparator);
}

}  // namespace

std::optional<std::u16string> FullPathOf(std::u16string_view path,
                                         std::u16string_view currentDirectory, DWORD* error) {
  if (path.empty()) {
    *error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  std::optional<PathParts> parts;
  std::u16string_view rest;
  if (auto split = splitRoot(path)) {
    parts = std::move(split->first);
    rest = split->second;
  } else {
    parts = partsOfFullPath(currentDirectory);
    if (!parts) {
      *error = ERROR_INVALID_PARAMETER;
      return std::nullopt;
    }
    rest = path;
    if (startsWithDrive(path)) {
      // "D:name": relative to the current directory when that is on drive D,
      // else to the root of D.
      rest = path.substr(2);
      if (!isDriveRoot(*parts) || upper(parts->root[0]) != upper(path[0])) {
        parts = PathParts{};
        parts->root = path.substr(0, 2);
        parts->rootShowsSeparator = true;
      }
    } else if (isSeparator(path[0])) {
      parts->components.clear();  // "\name": from the root of the current drive or share
    }
  }
  parts->append(rest);
  std::u16string full = parts->text();
  if (full.size() > kLongPathLimit) {
    *error = ERROR_FILENAME_EXCED_RANGE;
    return std::nullopt;
  }
  return full;
}

PosixPath PosixPathOf(LPCWSTR path) {
  if (!path || !*path) return failure(ERROR_PATH_NOT_FOUND);
  std::u16string_view text(path);
  if (startsWithDevicePrefix(text) && text[0] == u'\\' && text[1] == u'\\' && text[3] == u'\\') {
    return posixOfPrefixedPath(text);
  }
  DWORD error = ERROR_SUCCESS;
  std::optional<std::u16string> full = FullPathOf(text, CurrentDirectory(), &error);
  if (!full) return failure(error);
  if (full->size() >= MAX_PATH) return failure(ERROR_PATH_NOT_FOUND);
  if (startsWithDevicePrefix(*full)) return posixOfPrefixedPath(*full);
  if (startsWithUnc(*full)) return failure(ERROR_BAD_NETPATH);
  std::optional<PathParts> parts = partsOfFullPath(*full);
  if (!parts || !isDriveRoot(*parts)) return failure(ERROR_INVALID_NAME);
  std::vector<std::u16string_view> components(parts->components.begin(), parts->components.end());
  return posixOfDrivePath(parts->root[0], components, parts->trailingSeparator);
}

std::u16string Win32PathOfPosix(std::string_view posixPath) {
  bool invalid = false;
  std::u16string path = u"Z:";
  std::u16string decoded = DecodeBytes(CP_UTF8, posixPath, &invalid);
  if (decoded.empty() || decoded[0] != u'/') path += u'\\';
  for (char16_t c : decoded)
    path += c == u'/' ? u'\\' : c;
  return path;
}

DWORD MissingPathError(const std::string& posixPath) {
  std::string folder = posixPath;
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  size_t slash = folder.rfind('/');
  folder = slash == std::string::npos || slash == 0 ? std::string("/") : folder.substr(0, slash);
  struct stat info {};
  bool folderExists = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace platform::internal

// A scratch folder for file tests, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/skiffwire-kernel-XXXXXX";
    posix_ = ::mkdtemp(pattern);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(posix_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(posix_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The POSIX path of a name in the folder ("" for the folder itself).
  std::string posix(const std::string& name = "") const {
    return name.empty() ? posix_ : posix_ + "/" + name;
  }

  // The same path as the platform names it, on drive Z:.
  std::u16string win32(const std::string& name = "") const {
    std::u16string path = u"Z:";
    for (char c : posix(name))
      path += c == '/' ? u'\\' : static_cast<char16_t>(c);
    return path;
  }

  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(posix(name), std::ios::binary) << bytes;
  }

  std::string read(const std::string& name) const {
    std::ifstream in(posix(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  bool exists(const std::string& name) const { return std::filesystem::exists(posix(name)); }

 private:
  std::string posix_;
};

}  // namespace testing_support

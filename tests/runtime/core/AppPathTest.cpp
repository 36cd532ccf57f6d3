// The application path and the long-path form of file names.
#include "runtime/core/AppPath.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "runtime/core/LongPathForm.h"

namespace rt {
namespace {

TEST(AppPath, FolderOfTheExecutableWithoutTrailingSeparator) {
  const std::u16string deepFolder =
      u"\\\\?\\C:\\" + std::u16string(150, u'd') + u"\\" + std::u16string(150, u'e');
  struct Case {
    std::u16string executable;
    std::u16string path;
  } cases[] = {
      {u"C:\\app.exe", u"C:\\"},
      {u"C:\\Tools\\app.exe", u"C:\\Tools"},
      {u"D:\\Tools\\Skiffwire\\skiffwire.exe", u"D:\\Tools\\Skiffwire"},
      // Longer than the first buffer of 260 characters.
      {deepFolder + u"\\app.exe", deepFolder},
  };
  for (const Case& c : cases) {
    platform::ScopedModuleFileName executable(c.executable);
    Bstr path;
    ASSERT_EQ(AppPath(path.out()), S_OK);
    EXPECT_EQ(path.view(), c.path);
  }
}

TEST(LongPathForm, NetworkPathsAndResolvedNames) {
  platform::ScopedCurrentDirectory work(u"C:\\Work");
  struct Case {
    std::u16string path;
    std::u16string longPath;
  } cases[] = {
      {u"\\\\server\\share\\file.txt", u"\\\\?\\UNC\\server\\share\\file.txt"},
      {u"\\\\server\\share\\..\\file.txt", u"\\\\?\\UNC\\server\\share\\..\\file.txt"},
      {u"data.txt", u"\\\\?\\C:\\Work\\data.txt"},
      {u"..\\data.txt", u"\\\\?\\C:\\data.txt"},
      {u"D:\\Settings.txt", u"\\\\?\\D:\\Settings.txt"},
      {u"sub\\.\\x.txt", u"\\\\?\\C:\\Work\\sub\\x.txt"},
  };
  for (const Case& c : cases) {
    std::u16string longPath;
    ASSERT_EQ(LongPathForm(c.path, &longPath), S_OK);
    EXPECT_EQ(longPath, c.longPath);
  }
  std::u16string none;
  EXPECT_EQ(LongPathForm(u"", &none), E_FAIL);
}

}  // namespace
}  // namespace rt

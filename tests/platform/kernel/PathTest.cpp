#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/kernel.h"
#include "platform/kernel/TempFolder.h"
#include "platform/testing.h"

namespace {

std::string narrow(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

struct FullPathCase {
  const char16_t* input;
  const char16_t* full;
  const char16_t* filePart;  // null: the path names a folder (ends in a separator)
};

class FullPathTest : public ::testing::TestWithParam<FullPathCase> {};

TEST_P(FullPathTest, FoldsTextuallyAgainstTheCurrentDirectory) {
  const FullPathCase& c = GetParam();
  platform::ScopedCurrentDirectory work(u"C:\\Work");
  char16_t buffer[MAX_PATH];
  LPWSTR filePart = buffer;
  DWORD length = GetFullPathNameW(c.input, MAX_PATH, buffer, &filePart);
  EXPECT_EQ(std::u16string(buffer, length), c.full) << narrow(c.input);
  if (c.filePart) {
    ASSERT_NE(filePart, nullptr);
    EXPECT_EQ(std::u16string(filePart), c.filePart);
  } else {
    EXPECT_EQ(filePart, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FullPathTest,
    ::testing::Values(
        FullPathCase{u"data.txt", u"C:\\Work\\data.txt", u"data.txt"},
        FullPathCase{u"sub/dir\\file.txt", u"C:\\Work\\sub\\dir\\file.txt", u"file.txt"},
        FullPathCase{u"sub\\\\//file", u"C:\\Work\\sub\\file", u"file"},
        FullPathCase{u".\\a\\.\\b\\..\\c", u"C:\\Work\\a\\c", u"c"},
        FullPathCase{u"..\\data.txt", u"C:\\data.txt", u"data.txt"},
        FullPathCase{u"..\\..\\..\\x", u"C:\\x", u"x"}, FullPathCase{u".", u"C:\\Work", u"Work"},
        FullPathCase{u"..", u"C:\\", nullptr},
        FullPathCase{u"\\root.txt", u"C:\\root.txt", u"root.txt"},
        FullPathCase{u"c:rel", u"C:\\Work\\rel", u"rel"},
        FullPathCase{u"D:rel", u"D:\\rel", u"rel"}, FullPathCase{u"D:\\x\\..\\y", u"D:\\y", u"y"},
        FullPathCase{u"Z:/home/me", u"Z:\\home\\me", u"me"},
        FullPathCase{u"C:\\Work\\", u"C:\\Work\\", nullptr},
        FullPathCase{u"C:\\", u"C:\\", nullptr},
        FullPathCase{u"file.txt. .", u"C:\\Work\\file.txt", u"file.txt"},
        FullPathCase{u"dir.\\file", u"C:\\Work\\dir\\file", u"file"},
        FullPathCase{u"\\\\server\\share\\a\\..\\..\\b.txt", u"\\\\server\\share\\b.txt", u"b.txt"},
        FullPathCase{u"//server/share/x", u"\\\\server\\share\\x", u"x"},
        FullPathCase{u"\\\\?\\C:\\a\\..\\b", u"\\\\?\\C:\\b", u"b"},
        FullPathCase{u"\\\\?\\UNC\\server\\share\\f.txt", u"\\\\?\\UNC\\server\\share\\f.txt",
                     u"f.txt"}));

TEST(FullPath, RelativeNamesOnAShareStayOnTheShare) {
  platform::ScopedCurrentDirectory share(u"\\\\server\\share\\docs");
  char16_t buffer[MAX_PATH];
  EXPECT_GT(GetFullPathNameW(u"\\top.txt", MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(std::u16string(buffer), u"\\\\server\\share\\top.txt");
  EXPECT_GT(GetFullPathNameW(u"..\\..\\up.txt", MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(std::u16string(buffer), u"\\\\server\\share\\up.txt");
}

TEST(FullPath, SmallBufferGivesTheSizeNeededAndIsLeftAlone) {
  platform::ScopedCurrentDirectory work(u"C:\\Work");
  const std::u16string expected = u"C:\\Work\\data.txt";  // 16 characters
  const DWORD needed = static_cast<DWORD>(expected.size() + 1);
  EXPECT_EQ(GetFullPathNameW(u"data.txt", 0, nullptr, nullptr), needed);
  char16_t buffer[32];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  LPWSTR filePart = nullptr;
  EXPECT_EQ(GetFullPathNameW(u"data.txt", needed - 1, buffer, &filePart), needed);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(filePart, nullptr);
  EXPECT_EQ(GetFullPathNameW(u"data.txt", needed, buffer, &filePart), needed - 1);
  EXPECT_EQ(std::u16string(buffer), expected);
  EXPECT_EQ(filePart, buffer + 8);
}

TEST(FullPath, EmptyAndNullNamesFail) {
  char16_t buffer[MAX_PATH];
  EXPECT_EQ(GetFullPathNameW(u"", MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_EQ(GetFullPathNameW(nullptr, MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CurrentDirectory, StartsAsTheProcessWorkingDirectoryOnDriveZ) {
  char cwd[PATH_MAX];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  std::u16string expected = u"Z:";
  for (const char* c = cwd; *c; ++c)
    expected += *c == '/' ? u'\\' : static_cast<char16_t>(*c);
  char16_t buffer[PATH_MAX];
  DWORD length = GetCurrentDirectoryW(PATH_MAX, buffer);
  EXPECT_EQ(std::u16string(buffer, length), expected);
  EXPECT_EQ(GetCurrentDirectoryW(0, nullptr), length + 1);
  EXPECT_EQ(GetCurrentDirectoryW(length, buffer), length + 1);
}

TEST(CurrentDirectory, SetCurrentDirectoryNeedsAnExistingFolder) {
  testing_support::TempFolder folder;
  folder.write("file.txt", "x");
  platform::ScopedCurrentDirectory restore(platform::CurrentDirectoryText());

  EXPECT_TRUE(SetCurrentDirectoryW((folder.win32() + u"\\").c_str()));
  EXPECT_EQ(platform::CurrentDirectoryText(), folder.win32());

  // Relative names now open files in that folder.
  HANDLE created = CreateFileW(u"new.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  EXPECT_TRUE(folder.exists("new.txt"));

  const struct {
    std::u16string path;
    DWORD error;
  } refused[] = {{u"missing", ERROR_FILE_NOT_FOUND},
                 {u"missing\\deeper", ERROR_PATH_NOT_FOUND},
                 {u"file.txt", ERROR_DIRECTORY},
                 {u"C:\\Work", ERROR_PATH_NOT_FOUND},
                 {u"\\\\server\\share", ERROR_BAD_NETPATH}};
  for (const auto& c : refused) {
    EXPECT_FALSE(SetCurrentDirectoryW(c.path.c_str()));
    EXPECT_EQ(GetLastError(), c.error) << narrow(c.path);
    EXPECT_EQ(platform::CurrentDirectoryText(), folder.win32());
  }
}

TEST(CurrentDirectory, FilesUnderAFolderOnAnotherDriveDoNotExist) {
  platform::ScopedCurrentDirectory work(u"C:\\Work");
  EXPECT_EQ(CreateFileW(u"data.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace

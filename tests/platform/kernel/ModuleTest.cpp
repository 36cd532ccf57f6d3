#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/kernel.h"
#include "platform/testing.h"

namespace {

std::u16string realExecutablePath() {
  char target[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", target, sizeof target);
  std::u16string path = u"Z:";
  for (ssize_t i = 0; i < length; ++i)
    path += target[i] == '/' ? u'\\' : char16_t(target[i]);
  return path;
}

std::u16string moduleFileName(HMODULE module) {
  char16_t buffer[PATH_MAX];
  DWORD length = GetModuleFileNameW(module, buffer, PATH_MAX);
  return std::u16string(buffer, length);
}

TEST(ModuleFileName, IsTheExecutablesPathOnDriveZ) {
  EXPECT_EQ(moduleFileName(nullptr), realExecutablePath());
  EXPECT_EQ(moduleFileName(GetModuleHandleW(nullptr)), realExecutablePath());
}

TEST(ModuleFileName, SmallBufferIsFilledTruncatedAndTerminated) {
  platform::ScopedModuleFileName name(u"C:\\Tools\\app.exe");  // 16 characters
  char16_t buffer[20];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  const struct {
    DWORD size;
    DWORD result;
    const char16_t* text;
    DWORD error;
  } cases[] = {{17, 16, u"C:\\Tools\\app.exe", ERROR_SUCCESS},
               {16, 16, u"C:\\Tools\\app.ex", ERROR_INSUFFICIENT_BUFFER},
               {4, 4, u"C:\\", ERROR_INSUFFICIENT_BUFFER}};
  for (const auto& c : cases) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, c.size), c.result);
    EXPECT_EQ(std::u16string(buffer), c.text);
    EXPECT_EQ(GetLastError(), c.error);
  }
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(ModuleFileName, OverrideGivesTestsARootAndAFolder) {
  for (const char16_t* path : {u"C:\\app.exe", u"C:\\Tools\\app.exe"}) {
    platform::ScopedModuleFileName name(path);
    std::u16string reported = moduleFileName(nullptr);
    EXPECT_EQ(reported, path);
    char16_t full[MAX_PATH];
    LPWSTR filePart = nullptr;
    GetFullPathNameW(reported.c_str(), MAX_PATH, full, &filePart);
    ASSERT_NE(filePart, nullptr);
    EXPECT_EQ(std::u16string(filePart), u"app.exe");
  }
  EXPECT_EQ(moduleFileName(nullptr), realExecutablePath());
}

TEST(ModuleHandle, ExecutableHasANonNullInstanceHandle) {
  HMODULE instance = GetModuleHandleW(nullptr);
  EXPECT_NE(instance, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), instance);
  platform::ScopedModuleFileName name(u"C:\\Tools\\App.exe");
  EXPECT_EQ(GetModuleHandleW(u"app.EXE"), instance);
}

TEST(ModuleHandle, FindsThePlatformsLibrariesWithoutTakingAReference) {
  HMODULE user32 = GetModuleHandleW(u"USER32");
  ASSERT_NE(user32, nullptr);
  const int references = platform::LibraryReferenceCount(user32);
  EXPECT_EQ(GetModuleHandleA("user32.dll"), user32);
  EXPECT_EQ(platform::LibraryReferenceCount(user32), references);
  EXPECT_EQ(GetModuleHandleW(u"shcore"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(ModuleHandle, UnknownModuleHasNoFileName) {
  int notAModule = 0;
  char16_t buffer[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&notAModule), buffer, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

}  // namespace

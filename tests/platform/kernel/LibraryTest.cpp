#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/kernel.h"
#include "platform/libraries.h"
#include "platform/testing.h"
#include "platform/user.h"

namespace {

std::string narrow(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

// Loads a library for the length of a test.
class Library {
 public:
  explicit Library(const char16_t* name) : module_(LoadLibraryW(name)) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

struct NameCase {
  const char16_t* name;
  const char16_t* sameAs;  // null: no such library
};

class LibraryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LibraryNameTest, FollowsTheDllRuleWithoutRegardToCase) {
  const NameCase& c = GetParam();
  Library library(c.name);
  if (!c.sameAs) {
    EXPECT_EQ(library.get(), nullptr) << narrow(c.name);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    return;
  }
  Library canonical(c.sameAs);
  ASSERT_NE(canonical.get(), nullptr);
  EXPECT_EQ(library.get(), canonical.get()) << narrow(c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LibraryNameTest,
    ::testing::Values(
        NameCase{u"kernel32", u"kernel32.dll"}, NameCase{u"KERNEL32.DLL", u"kernel32.dll"},
        NameCase{u"Kernel32.Dll", u"kernel32.dll"},
        NameCase{u"C:\\Windows\\System32\\user32.dll", u"user32.dll"},
        NameCase{u"user32", u"user32.dll"}, NameCase{u"gdi32", u"gdi32.dll"},
        NameCase{u"ole32", u"ole32.dll"}, NameCase{u"oleaut32", u"oleaut32.dll"},
        NameCase{u"msimg32", u"msimg32.dll"}, NameCase{u"shlwapi", u"shlwapi.dll"},
        NameCase{u"WINSPOOL.DRV", u"winspool.drv"}, NameCase{u"hhctrl.ocx", u"hhctrl.ocx"},
        // A trailing period means "no extension": no library has none.
        NameCase{u"kernel32.", nullptr},
        // The extension given is kept, never replaced.
        NameCase{u"winspool", nullptr}, NameCase{u"hhctrl", nullptr},
        NameCase{u"kernel32.drv", nullptr},
        // Libraries this platform does not have.
        NameCase{u"shcore", nullptr}, NameCase{u"kernel33", nullptr}, NameCase{u"", nullptr}));

TEST(Libraries, LoadAndFreeCountReferences) {
  HMODULE module = GetModuleHandleW(u"kernel32");
  const int before = platform::LibraryReferenceCount(module);
  HMODULE first = LoadLibraryW(u"kernel32");
  HMODULE second = LoadLibraryW(u"KERNEL32.dll");
  EXPECT_EQ(first, module);
  EXPECT_EQ(second, module);
  EXPECT_EQ(platform::LibraryReferenceCount(module), before + 2);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(platform::LibraryReferenceCount(module), before);
}

TEST(Libraries, FreeingMoreThanWasLoadedFails) {
  HMODULE module = LoadLibraryW(u"msimg32");
  const int references = platform::LibraryReferenceCount(module);
  for (int i = 0; i < references; ++i)
    FreeLibrary(module);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(platform::LibraryReferenceCount(module), 0);
  int notAModule = 0;
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&notAModule)));
  EXPECT_EQ(platform::LibraryReferenceCount(reinterpret_cast<HMODULE>(&notAModule)), -1);
}

TEST(Libraries, NullNameIsAnInvalidParameter) {
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(ProcAddress, EntryPointIsTheFunctionItself) {
  platform::ScopedVirtualClock clock(4242);
  Library kernel32(u"kernel32");
  FARPROC entry = GetProcAddress(kernel32.get(), "GetTickCount");
  ASSERT_NE(entry, nullptr);
  auto getTickCount = reinterpret_cast<DWORD (*)()>(reinterpret_cast<void (*)()>(entry));
  EXPECT_EQ(getTickCount(), 4242u);
}

TEST(ProcAddress, MessageBoxThroughUser32ReachesTheHeadlessAnswerer) {
  platform::ScopedMessageBoxPolicy policy([](const auto&, const auto&) { return IDNO; });
  Library user32(u"user32");
  FARPROC entry = GetProcAddress(user32.get(), "MessageBoxW");
  ASSERT_NE(entry, nullptr);
  auto messageBox =
      reinterpret_cast<int (*)(HWND, LPCWSTR, LPCWSTR, UINT)>(reinterpret_cast<void (*)()>(entry));
  EXPECT_EQ(messageBox(nullptr, u"Save?", u"Plumbridge", MB_YESNO), IDNO);
  ASSERT_EQ(policy.boxes().size(), 1u);
  EXPECT_EQ(policy.boxes()[0].caption, u"Plumbridge");
}

TEST(ProcAddress, MissingNamesAndModulesFailWithTheirOwnErrors) {
  Library kernel32(u"kernel32");
  Library user32(u"user32");
  int notAModule = 0;
  const struct {
    HMODULE module;
    LPCSTR name;
    DWORD error;
  } cases[] = {
      {kernel32.get(), "GetTickCont", ERROR_PROC_NOT_FOUND},   // misspelt
      {kernel32.get(), "gettickcount", ERROR_PROC_NOT_FOUND},  // names are case-sensitive
      {user32.get(), "GetTickCount", ERROR_PROC_NOT_FOUND},    // wrong library
      {kernel32.get(), reinterpret_cast<LPCSTR>(1), ERROR_PROC_NOT_FOUND},  // no ordinals
      {GetModuleHandleW(nullptr), "GetTickCount", ERROR_PROC_NOT_FOUND},    // exports nothing
      {reinterpret_cast<HMODULE>(&notAModule), "GetTickCount", ERROR_MOD_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(c.module, c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

struct ByteCountCase {
  const char16_t* library;
  const char* name;
  int argumentBytes;
};

class ArgumentBytesTest : public ::testing::TestWithParam<ByteCountCase> {};

TEST_P(ArgumentBytesTest, ExportCarriesItsStackUseInTheStandardConvention) {
  const ByteCountCase& c = GetParam();
  Library library(c.library);
  const ExportedProc* proc = platform::FindExport(library.get(), c.name);
  ASSERT_NE(proc, nullptr) << c.name;
  EXPECT_EQ(proc->argumentBytes, c.argumentBytes) << c.name;
  EXPECT_EQ(proc->entry, GetProcAddress(library.get(), c.name));
}

INSTANTIATE_TEST_SUITE_P(Exports, ArgumentBytesTest,
                         ::testing::Values(ByteCountCase{u"kernel32", "GetTickCount", 0},
                                           ByteCountCase{u"kernel32", "GetTickCount64", 0},
                                           ByteCountCase{u"kernel32", "Sleep", 4},
                                           ByteCountCase{u"kernel32", "GetLastError", 0},
                                           ByteCountCase{u"kernel32", "SetLastError", 4},
                                           ByteCountCase{u"kernel32", "MultiByteToWideChar", 24},
                                           ByteCountCase{u"kernel32", "WideCharToMultiByte", 32},
                                           ByteCountCase{u"kernel32", "GetModuleFileNameW", 12},
                                           ByteCountCase{u"kernel32", "lstrlenW", 4},
                                           ByteCountCase{u"kernel32", "CreateFileW", 28},
                                           ByteCountCase{u"kernel32", "SetFilePointer", 16},
                                           ByteCountCase{u"user32", "MessageBoxW", 16},
                                           ByteCountCase{u"user32", "MessageBoxA", 16}));

// Functions another area could export.
int twice(int value) {
  return 2 * value;
}
double scaled(double value, POINT offset) {
  return value + offset.x + offset.y;
}
LONGLONG widened(LONGLONG value) {
  return value;
}

const platform::ExportRegistrar kTestExports("testlib",
                                             {
                                                 platform::Export("Twice", &twice),
                                                 platform::Export("Scaled", &scaled),
                                                 platform::Export("Widened", &widened, 8),
                                             });

TEST(Registry, OtherAreasAddLibrariesAndExportsOfTheirOwn) {
  Library library(u"TESTLIB.DLL");
  ASSERT_NE(library.get(), nullptr);
  const struct {
    const char* name;
    int argumentBytes;
  } cases[] = {{"Twice", 4}, {"Scaled", 16}, {"Widened", 8}};
  for (const auto& c : cases) {
    const ExportedProc* proc = platform::FindExport(library.get(), c.name);
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(proc->argumentBytes, c.argumentBytes) << c.name;
  }
  platform::RegisterExports("user32.dll", {platform::Export("Twice", &twice)});
  EXPECT_NE(GetProcAddress(GetModuleHandleW(u"user32"), "Twice"), nullptr);
  EXPECT_NE(GetProcAddress(GetModuleHandleW(u"user32"), "MessageBoxW"), nullptr);
}

TEST(Registry, LstrlenCountsUpToTheTerminator) {
  EXPECT_EQ(lstrlenW(u"Plumbridge"), 10);
  EXPECT_EQ(lstrlenW(nullptr), 0);
}

}  // namespace

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/kernel/TempFolder.h"
#include "platform/testing.h"

namespace {

using testing_support::TempFolder;

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openFile(const std::u16string& path, DWORD access, DWORD share, DWORD disposition,
                DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileW(path.c_str(), access, share, nullptr, disposition, attributes, nullptr);
}

// Closes a handle at the end of a test.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

size_t openDescriptorCount() {
  size_t count = 0;
  DIR* folder = ::opendir("/proc/self/fd");
  while (::readdir(folder))
    ++count;
  ::closedir(folder);
  return count;
}

std::string readAll(HANDLE file) {
  std::string text(64, '\0');
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr));
  text.resize(got);
  return text;
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handlesBefore_ = platform::OpenKernelHandleCount();
    descriptorsBefore_ = openDescriptorCount();
  }
  void TearDown() override {
    EXPECT_EQ(platform::OpenKernelHandleCount(), handlesBefore_) << "a handle leaked";
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore_) << "a descriptor leaked";
  }

  TempFolder folder_;

 private:
  size_t handlesBefore_ = 0;
  size_t descriptorsBefore_ = 0;
};

// ---------------------------------------------------------------------------
// Creation dispositions
// ---------------------------------------------------------------------------

struct DispositionCase {
  const char* name;
  DWORD disposition;
  bool fileExists;
  bool opens;
  DWORD lastError;
  const char* contentAfter;  // null: the file does not exist afterwards
};

class DispositionTest : public FileTest, public ::testing::WithParamInterface<DispositionCase> {};

TEST_P(DispositionTest, OpensCreatesOrFailsWithDocumentedLastError) {
  const DispositionCase& c = GetParam();
  if (c.fileExists) folder_.write("file.txt", "hello");
  SetLastError(1234);
  Handle file(openFile(folder_.win32("file.txt"), kReadWrite, 0, c.disposition));
  EXPECT_EQ(file.valid(), c.opens);
  EXPECT_EQ(GetLastError(), c.lastError);
  if (c.contentAfter) {
    EXPECT_EQ(folder_.read("file.txt"), c.contentAfter);
  } else {
    EXPECT_FALSE(folder_.exists("file.txt"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dispositions, DispositionTest,
    ::testing::Values(
        DispositionCase{"CreateNewExisting", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "hello"},
        DispositionCase{"CreateNewMissing", CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateAlwaysExisting", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS,
                        ""},
        DispositionCase{"CreateAlwaysMissing", CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        DispositionCase{"OpenExistingExisting", OPEN_EXISTING, true, true, ERROR_SUCCESS, "hello"},
        DispositionCase{"OpenExistingMissing", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND,
                        nullptr},
        DispositionCase{"OpenAlwaysExisting", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS,
                        "hello"},
        DispositionCase{"OpenAlwaysMissing", OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        DispositionCase{"TruncateExistingExisting", TRUNCATE_EXISTING, true, true, ERROR_SUCCESS,
                        ""},
        DispositionCase{"TruncateExistingMissing", TRUNCATE_EXISTING, false, false,
                        ERROR_FILE_NOT_FOUND, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, BadDispositionsAndTruncationWithoutWriteAccessAreInvalidParameters) {
  folder_.write("file.txt", "hello");
  for (DWORD disposition : {0u, 6u}) {
    EXPECT_EQ(openFile(folder_.win32("file.txt"), kReadWrite, 0, disposition),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(openFile(folder_.win32("file.txt"), GENERIC_READ, 0, TRUNCATE_EXISTING),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(folder_.read("file.txt"), "hello");
}

TEST_F(FileTest, ReadOnlyAttributeCreatesAReadOnlyFileThatStaysWritableThroughItsHandle) {
  Handle file(
      openFile(folder_.win32("ro.txt"), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(file.valid());
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file.get(), "abc", 3, &written, nullptr));
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(GetFileAttributesW(folder_.win32("ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY,
            FILE_ATTRIBUTE_READONLY);
}

// ---------------------------------------------------------------------------
// Missing files, folders and access
// ---------------------------------------------------------------------------

struct BadPathCase {
  const char* name;
  std::u16string (*path)(const TempFolder&);
  DWORD access;
  DWORD disposition;
  DWORD lastError;
};

class BadPathTest : public FileTest, public ::testing::WithParamInterface<BadPathCase> {};

TEST_P(BadPathTest, FailsWithTheDocumentedLastError) {
  const BadPathCase& c = GetParam();
  folder_.write("file.txt", "hello");
  ::mkdir(folder_.posix("sub").c_str(), 0755);
  EXPECT_EQ(openFile(c.path(folder_), c.access, kShareAll, c.disposition), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), c.lastError);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BadPathTest,
    ::testing::Values(
        BadPathCase{"MissingFile", [](const TempFolder& f) { return f.win32("nope.txt"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        BadPathCase{"MissingFolder", [](const TempFolder& f) { return f.win32("no/file.txt"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        BadPathCase{"CreateInMissingFolder",
                    [](const TempFolder& f) { return f.win32("no/file.txt"); }, GENERIC_WRITE,
                    CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        BadPathCase{"FileUsedAsFolder",
                    [](const TempFolder& f) { return f.win32("file.txt/inner.txt"); }, GENERIC_READ,
                    OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        BadPathCase{"FolderForReading", [](const TempFolder& f) { return f.win32("sub"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        BadPathCase{"FolderForWriting", [](const TempFolder& f) { return f.win32("sub"); },
                    GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        BadPathCase{"OtherDrive", [](const TempFolder&) { return std::u16string(u"C:\\x.txt"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        BadPathCase{"UncShare",
                    [](const TempFolder&) { return std::u16string(u"\\\\server\\share\\x.txt"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_BAD_NETPATH},
        BadPathCase{
            "LongUncShare",
            [](const TempFolder&) { return std::u16string(u"\\\\?\\UNC\\server\\share\\x.txt"); },
            GENERIC_WRITE, CREATE_ALWAYS, ERROR_BAD_NETPATH},
        BadPathCase{"WildcardInName", [](const TempFolder& f) { return f.win32("a*b.txt"); },
                    GENERIC_WRITE, CREATE_ALWAYS, ERROR_INVALID_NAME},
        BadPathCase{"EmptyName", [](const TempFolder&) { return std::u16string(); }, GENERIC_READ,
                    OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        BadPathCase{"DotDotUnderLongPrefix",
                    [](const TempFolder& f) { return u"\\\\?\\" + f.win32("sub\\..\\file.txt"); },
                    GENERIC_READ, OPEN_EXISTING, ERROR_INVALID_NAME}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, NamesAreUtf8OnDiskAndUnpairedSurrogatesAreBadNames) {
  Handle file(openFile(folder_.win32("") + u"\\gr\u00F6\u00DFe \U0001F600.txt", GENERIC_WRITE, 0,
                       CREATE_NEW));
  EXPECT_TRUE(file.valid());
  EXPECT_TRUE(
      folder_.exists("gr\xC3\xB6\xC3\x9F"
                     "e \xF0\x9F\x98\x80.txt"));
  std::u16string lone = folder_.win32("") + u"\\bad";
  lone += char16_t{0xD800};
  EXPECT_EQ(openFile(lone, GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(FileTest, ReadOnlyFileRefusesWritersAndDeletionEvenToTheSuperuser) {
  folder_.write("ro.txt", "keep");
  ::chmod(folder_.posix("ro.txt").c_str(), 0444);
  const std::u16string path = folder_.win32("ro.txt");
  for (DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    EXPECT_EQ(openFile(path, GENERIC_WRITE, kShareAll, disposition), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  Handle reader(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
  EXPECT_TRUE(reader.valid());
  EXPECT_EQ(folder_.read("ro.txt"), "keep");
}

TEST_F(FileTest, PermissionRefusedBySystemIsAccessDenied) {
  std::string posix;
  if (::geteuid() != 0) {
    folder_.write("secret.txt", "x");
    ::chmod(folder_.posix("secret.txt").c_str(), 0);
    posix = folder_.posix("secret.txt");
  } else {
    // The superuser passes permission bits; another process's environment
    // is refused to it in most containers.
    posix = "/proc/1/environ";
    int fd = ::open(posix.c_str(), O_RDONLY);
    if (fd >= 0 || errno != EACCES) {
      if (fd >= 0) ::close(fd);
      GTEST_SKIP() << "no file refuses the superuser here";
    }
  }
  std::u16string path = u"Z:";
  for (char c : posix)
    path += c == '/' ? u'\\' : static_cast<char16_t>(c);
  EXPECT_EQ(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileTest, PathsOfMaxPathOrMoreNeedTheLongPathPrefix) {
  std::string deep;
  while (deep.size() < 300)
    deep += "folder-with-a-long-name/";
  std::filesystem::create_directories(folder_.posix(deep));
  const std::u16string plain = folder_.win32(deep + "file.txt");
  ASSERT_GE(plain.size(), MAX_PATH);

  EXPECT_EQ(openFile(plain, GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  Handle file(openFile(u"\\\\?\\" + plain, GENERIC_WRITE, 0, CREATE_ALWAYS));
  EXPECT_TRUE(file.valid());
  EXPECT_TRUE(folder_.exists(deep + "file.txt"));
}

TEST_F(FileTest, TooManyOpenFilesWhenDescriptorsRunOut) {
  folder_.write("file.txt", "x");
  rlimit saved{};
  ::getrlimit(RLIMIT_NOFILE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = openDescriptorCount() + 2;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);

  std::vector<HANDLE> opened;
  DWORD error = ERROR_SUCCESS;
  for (int i = 0; i < 16 && error == ERROR_SUCCESS; ++i) {
    HANDLE file = openFile(folder_.win32("file.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
      error = GetLastError();
    else
      opened.push_back(file);
  }
  ::setrlimit(RLIMIT_NOFILE, &saved);
  for (HANDLE file : opened)
    CloseHandle(file);
  EXPECT_EQ(error, ERROR_TOO_MANY_OPEN_FILES);
}

// ---------------------------------------------------------------------------
// Share modes
// ---------------------------------------------------------------------------

struct ShareCase {
  const char* name;
  DWORD firstAccess;
  DWORD firstShare;
  DWORD secondAccess;
  DWORD secondShare;
  bool secondOpens;
};

class ShareModeTest : public FileTest, public ::testing::WithParamInterface<ShareCase> {};

TEST_P(ShareModeTest, SecondHandleIsRefusedWhenEitherShareModeForbidsTheOther) {
  const ShareCase& c = GetParam();
  folder_.write("shared.txt", "data");
  const std::u16string path = folder_.win32("shared.txt");
  Handle first(openFile(path, c.firstAccess, c.firstShare, OPEN_EXISTING));
  ASSERT_TRUE(first.valid());
  Handle second(openFile(path, c.secondAccess, c.secondShare, OPEN_EXISTING));
  EXPECT_EQ(second.valid(), c.secondOpens);
  if (!c.secondOpens) {
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ShareModeTest,
    ::testing::Values(ShareCase{"ReadersSharingReading", GENERIC_READ, FILE_SHARE_READ,
                                GENERIC_READ, FILE_SHARE_READ, true},
                      ShareCase{"ExclusiveWriterKeepsReadersOut", GENERIC_WRITE, 0, GENERIC_READ,
                                kShareAll, false},
                      ShareCase{"ExclusiveWriterKeepsWritersOut", GENERIC_WRITE, 0, GENERIC_WRITE,
                                kShareAll, false},
                      ShareCase{"ReaderSharingOnlyReadingRefusesAWriter", GENERIC_READ,
                                FILE_SHARE_READ, GENERIC_WRITE, kShareAll, false},
                      ShareCase{"NewcomerRefusingWritingCannotJoinAWriter", GENERIC_WRITE,
                                kShareAll, GENERIC_READ, FILE_SHARE_READ, false},
                      ShareCase{"NewcomerRefusingWritingMayJoinAReader", GENERIC_READ, kShareAll,
                                GENERIC_READ, FILE_SHARE_READ, true},
                      ShareCase{"OutputThenInputOfNumberedFiles", GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, true},
                      ShareCase{"TwoReadWriteHandlesSharingBoth", kReadWrite,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, kReadWrite,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, true},
                      ShareCase{"NoAccessNewcomerTakesNoPart", GENERIC_WRITE, 0, 0, 0, true},
                      ShareCase{"NoAccessHolderTakesNoPart", 0, 0, kReadWrite, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, ShareModesHoldBetweenProcesses) {
  folder_.write("shared.txt", "data");
  const std::u16string path = folder_.win32("shared.txt");
  int opened[2];
  int done[2];
  ASSERT_EQ(::pipe(opened), 0);
  ASSERT_EQ(::pipe(done), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child holds the file exclusively until told to let go.
    HANDLE exclusive = openFile(path, GENERIC_WRITE, 0, OPEN_EXISTING);
    char signal = exclusive == INVALID_HANDLE_VALUE ? 'n' : 'y';
    (void)!::write(opened[1], &signal, 1);
    (void)!::read(done[0], &signal, 1);
    ::_exit(0);
  }
  char signal = 0;
  ASSERT_EQ(::read(opened[0], &signal, 1), 1);
  EXPECT_EQ(signal, 'y');
  EXPECT_EQ(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  (void)!::write(done[1], "x", 1);
  ::waitpid(child, nullptr, 0);
  for (int fd : {opened[0], opened[1], done[0], done[1]})
    ::close(fd);
  Handle reader(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
  EXPECT_TRUE(reader.valid());
}

TEST_F(FileTest, ClosingTheExclusiveHandleLetsOthersIn) {
  folder_.write("shared.txt", "data");
  const std::u16string path = folder_.win32("shared.txt");
  HANDLE exclusive = openFile(path, GENERIC_WRITE, 0, OPEN_EXISTING);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
  Handle reader(openFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING));
  EXPECT_TRUE(reader.valid());
}

TEST_F(FileTest, RefusedCreateAlwaysLeavesTheContentAlone) {
  folder_.write("shared.txt", "data");
  const std::u16string path = folder_.win32("shared.txt");
  Handle reader(openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(openFile(path, GENERIC_WRITE, kShareAll, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(folder_.read("shared.txt"), "data");
}

TEST_F(FileTest, DeletionNeedsEveryOpenHandleToShareDelete) {
  folder_.write("a.txt", "a");
  folder_.write("b.txt", "b");
  {
    Handle holder(openFile(folder_.win32("a.txt"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_FALSE(DeleteFileW(folder_.win32("a.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  }
  EXPECT_TRUE(DeleteFileW(folder_.win32("a.txt").c_str()));
  Handle sharer(openFile(folder_.win32("b.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING));
  EXPECT_TRUE(DeleteFileW(folder_.win32("b.txt").c_str()));
  EXPECT_FALSE(folder_.exists("b.txt"));
}

// ---------------------------------------------------------------------------
// Reading, writing, seeking and sizes
// ---------------------------------------------------------------------------

TEST_F(FileTest, WrittenBytesReadBackAndReadingAtTheEndGivesNothing) {
  Handle file(openFile(folder_.win32("rw.txt"), kReadWrite, 0, CREATE_NEW));
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file.get(), "line one\r\n", 10, &done, nullptr));
  EXPECT_EQ(done, 10u);
  EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN), 0u);
  EXPECT_EQ(readAll(file.get()), "line one\r\n");
  EXPECT_EQ(readAll(file.get()), "");  // at the end: success with nothing read
  EXPECT_TRUE(WriteFile(file.get(), nullptr, 0, &done, nullptr));
  EXPECT_EQ(done, 0u);
}

TEST_F(FileTest, OverlappedOffsetPlacesTheTransferAndMovesThePointer) {
  folder_.write("f.txt", "0123456789");
  Handle file(openFile(folder_.win32("f.txt"), kReadWrite, 0, OPEN_EXISTING));
  OVERLAPPED at{};
  at.Offset = 6;
  char bytes[2] = {};
  DWORD done = 0;
  EXPECT_TRUE(ReadFile(file.get(), bytes, 2, &done, &at));
  EXPECT_EQ(std::string(bytes, 2), "67");
  EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT), 8u);
}

TEST_F(FileTest, HandleRefusesTheAccessItWasNotGranted) {
  folder_.write("f.txt", "abc");
  char byte = 0;
  DWORD done = 7;
  Handle reader(openFile(folder_.win32("f.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING));
  EXPECT_FALSE(WriteFile(reader.get(), "x", 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(done, 0u);
  Handle writer(openFile(folder_.win32("f.txt"), GENERIC_WRITE, kShareAll, OPEN_EXISTING));
  EXPECT_FALSE(ReadFile(writer.get(), &byte, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

struct SeekCase {
  const char* name;
  LONG start;  // the pointer before the call
  LONG distance;
  bool withHigh;
  LONG high;
  DWORD method;
  DWORD result;
  LONG highAfter;
  DWORD lastError;  // for failures
  int64_t pointerAfter;
};

class SeekTest : public FileTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(SeekTest, MovesOrFailsWithoutMoving) {
  const SeekCase& c = GetParam();
  folder_.write("ten.txt", "0123456789");
  Handle file(openFile(folder_.win32("ten.txt"), kReadWrite, 0, OPEN_EXISTING));
  ASSERT_EQ(SetFilePointer(file.get(), c.start, nullptr, FILE_BEGIN), DWORD(c.start));
  LONG high = c.high;
  SetLastError(1234);
  EXPECT_EQ(SetFilePointer(file.get(), c.distance, c.withHigh ? &high : nullptr, c.method),
            c.result);
  if (c.withHigh) {
    EXPECT_EQ(high, c.highAfter);
  }
  if (c.lastError != 1234) {
    EXPECT_EQ(GetLastError(), c.lastError);
  }
  LONG currentHigh = 0;
  DWORD currentLow = SetFilePointer(file.get(), 0, &currentHigh, FILE_CURRENT);
  EXPECT_EQ((int64_t{currentHigh} << 32) | currentLow, c.pointerAfter);
  LARGE_INTEGER size{};
  EXPECT_TRUE(GetFileSizeEx(file.get(), &size));
  EXPECT_EQ(size.QuadPart, 10);  // seeking never changes the size
}

INSTANTIATE_TEST_SUITE_P(
    Moves, SeekTest,
    ::testing::Values(SeekCase{"FromBegin", 5, 3, false, 0, FILE_BEGIN, 3, 0, 1234, 3},
                      SeekCase{"FromCurrent", 5, 2, false, 0, FILE_CURRENT, 7, 0, 1234, 7},
                      SeekCase{"BackFromCurrent", 5, -5, false, 0, FILE_CURRENT, 0, 0, 1234, 0},
                      SeekCase{"BackFromEnd", 0, -4, false, 0, FILE_END, 6, 0, 1234, 6},
                      SeekCase{"BeyondTheEnd", 0, 100, false, 0, FILE_END, 110, 0, 1234, 110},
                      SeekCase{"BeforeTheStart", 5, -6, false, 0, FILE_CURRENT,
                               INVALID_SET_FILE_POINTER, 0, ERROR_NEGATIVE_SEEK, 5},
                      SeekCase{"BadMethod", 5, 0, false, 0, 7, INVALID_SET_FILE_POINTER, 0,
                               ERROR_INVALID_PARAMETER, 5},
                      SeekCase{"HighPartMovesPast4GiB", 0, 16, true, 1, FILE_BEGIN, 16, 1, 1234,
                               (int64_t{1} << 32) + 16},
                      SeekCase{"NegativeHighPartFromEnd", 0, -2, true, -1, FILE_END, 8, 0, 1234, 8},
                      SeekCase{"NegativeHighPartBeforeStart", 3, -4, true, -1, FILE_CURRENT,
                               INVALID_SET_FILE_POINTER, -1, ERROR_NEGATIVE_SEEK, 3},
                      SeekCase{"LowPartOfAllOnesIsNoFailure", 0, -1, true, 0, FILE_BEGIN,
                               INVALID_SET_FILE_POINTER, 0, ERROR_SUCCESS, 0xFFFFFFFFLL},
                      SeekCase{"WithoutHighPartTheDistanceIsSigned", 0, -1, false, 0, FILE_END, 9,
                               0, 1234, 9},
                      SeekCase{"NoHighPartResultMustFit32Bits", 0x7FFFFFFF, 0x7FFFFFFF, false, 0,
                               FILE_CURRENT, 0xFFFFFFFE, 0, 1234, 0xFFFFFFFELL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, PositionsBeyond32BitsNeedTheHighPart) {
  folder_.write("f.txt", "x");
  Handle file(openFile(folder_.win32("f.txt"), kReadWrite, 0, OPEN_EXISTING));
  LONG high = 0;
  SetFilePointer(file.get(), static_cast<LONG>(0xFFFFFFF0), &high, FILE_BEGIN);
  EXPECT_EQ(SetFilePointer(file.get(), 0x20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  high = 0;
  EXPECT_EQ(SetFilePointer(file.get(), 0, &high, FILE_CURRENT), 0xFFFFFFF0u);
  EXPECT_EQ(high, 0);
}

TEST_F(FileTest, SizesFollowWritesAndSetEndOfFile) {
  Handle file(openFile(folder_.win32("f.txt"), kReadWrite, 0, CREATE_ALWAYS));
  DWORD done = 0;
  WriteFile(file.get(), "0123456789", 10, &done, nullptr);
  LARGE_INTEGER size{};
  EXPECT_TRUE(GetFileSizeEx(file.get(), &size));
  EXPECT_EQ(size.QuadPart, 10);
  SetFilePointer(file.get(), 4, nullptr, FILE_BEGIN);
  EXPECT_TRUE(SetEndOfFile(file.get()));
  DWORD high = 99;
  EXPECT_EQ(GetFileSize(file.get(), &high), 4u);
  EXPECT_EQ(high, 0u);
  EXPECT_TRUE(FlushFileBuffers(file.get()));
  EXPECT_EQ(folder_.read("f.txt"), "0123");
}

TEST_F(FileTest, FullDiskTakesWhatFitsThenFailsWithDiskFull) {
  Handle file(openFile(folder_.win32("f.txt"), kReadWrite, 0, CREATE_ALWAYS));
  DWORD done = 0;
  {
    platform::ScopedDiskFull disk(4);
    EXPECT_FALSE(WriteFile(file.get(), "0123456789", 10, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(done, 4u);
    EXPECT_FALSE(WriteFile(file.get(), "more", 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(done, 0u);
  }
  EXPECT_TRUE(WriteFile(file.get(), "!", 1, &done, nullptr));
  EXPECT_EQ(folder_.read("f.txt"), "0123!");
  platform::SimulateDiskFull(true);
  EXPECT_FALSE(WriteFile(file.get(), "x", 1, &done, nullptr));
  platform::SimulateDiskFull(false);
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
}

// ---------------------------------------------------------------------------
// Handles
// ---------------------------------------------------------------------------

TEST_F(FileTest, ForgedAndStaleHandlesNeverReachAnObject) {
  folder_.write("f.txt", "abc");
  HANDLE closed = openFile(folder_.win32("f.txt"), kReadWrite, kShareAll, OPEN_EXISTING);
  ASSERT_TRUE(CloseHandle(closed));
  Handle live(openFile(folder_.win32("f.txt"), kReadWrite, kShareAll, OPEN_EXISTING));

  const HANDLE bad[] = {
      nullptr,
      INVALID_HANDLE_VALUE,
      closed,
      reinterpret_cast<HANDLE>(uintptr_t{1}),
      reinterpret_cast<HANDLE>(uintptr_t{0x12345678}),
      reinterpret_cast<HANDLE>(reinterpret_cast<uintptr_t>(live.get()) + 4),
      reinterpret_cast<HANDLE>(reinterpret_cast<uintptr_t>(live.get()) ^ (uintptr_t{1} << 18)),
      GetProcessHeap()};
  for (HANDLE handle : bad) {
    char byte = 0;
    DWORD done = 0;
    LARGE_INTEGER size{};
    SetLastError(0);
    EXPECT_FALSE(ReadFile(handle, &byte, 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(handle, "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetFilePointer(handle, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GetFileSizeEx(handle, &size));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(readAll(live.get()), "abc");
}

TEST_F(FileTest, HandlesSurviveARoundTripThroughA32BitSlot) {
  folder_.write("f.txt", "abc");
  Handle file(openFile(folder_.win32("f.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING));
  auto slot = static_cast<int32_t>(reinterpret_cast<intptr_t>(file.get()));
  EXPECT_GT(slot, 0);
  EXPECT_EQ(readAll(reinterpret_cast<HANDLE>(static_cast<intptr_t>(slot))), "abc");
}

TEST_F(FileTest, AClosedHandleStaysDeadAfterItsSlotIsReused) {
  folder_.write("f.txt", "abc");
  std::vector<HANDLE> closed;
  for (int i = 0; i < 64; ++i) {
    HANDLE file = openFile(folder_.win32("f.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING);
    closed.push_back(file);
    CloseHandle(file);
  }
  Handle live(openFile(folder_.win32("f.txt"), GENERIC_READ, kShareAll, OPEN_EXISTING));
  for (HANDLE stale : closed) {
    DWORD done = 0;
    char byte = 0;
    EXPECT_FALSE(ReadFile(stale, &byte, 1, &done, nullptr));
  }
  EXPECT_EQ(readAll(live.get()), "abc");
}

// ---------------------------------------------------------------------------
// Deleting and attributes
// ---------------------------------------------------------------------------

TEST_F(FileTest, DeleteFileReportsMissingFilesFoldersAndRefusesFolders) {
  folder_.write("f.txt", "x");
  ::mkdir(folder_.posix("sub").c_str(), 0755);
  EXPECT_TRUE(DeleteFileW(folder_.win32("f.txt").c_str()));
  EXPECT_FALSE(folder_.exists("f.txt"));
  const struct {
    std::u16string path;
    DWORD error;
  } cases[] = {{folder_.win32("f.txt"), ERROR_FILE_NOT_FOUND},
               {folder_.win32("no/f.txt"), ERROR_PATH_NOT_FOUND},
               {folder_.win32("sub"), ERROR_ACCESS_DENIED},
               {u"C:\\f.txt", ERROR_PATH_NOT_FOUND}};
  for (const auto& c : cases) {
    EXPECT_FALSE(DeleteFileW(c.path.c_str()));
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(FileTest, AttributesOfFilesFoldersAndMissingNames) {
  folder_.write("f.txt", "x");
  folder_.write(".hidden", "x");
  ::mkdir(folder_.posix("sub").c_str(), 0755);
  const struct {
    std::u16string path;
    DWORD attributes;
    DWORD error;
  } cases[] = {
      {folder_.win32("f.txt"), FILE_ATTRIBUTE_ARCHIVE, 0},
      {folder_.win32(".hidden"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0},
      {folder_.win32("sub"), FILE_ATTRIBUTE_DIRECTORY, 0},
      {folder_.win32("sub\\"), FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"Z:\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {folder_.win32("none.txt"), INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {folder_.win32("no\\none.txt"), INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"C:\\Windows", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"\\\\server\\share", INVALID_FILE_ATTRIBUTES, ERROR_BAD_NETPATH},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesW(c.path.c_str()), c.attributes);
    if (c.error) {
      EXPECT_EQ(GetLastError(), c.error);
    }
  }
}

// ---------------------------------------------------------------------------
// errno mapping
// ---------------------------------------------------------------------------

TEST(ErrnoMapping, PosixErrorsBecomeThePlatformsCodes) {
  const struct {
    int error;
    DWORD code;
  } cases[] = {{ENOENT, ERROR_FILE_NOT_FOUND},      {ENOTDIR, ERROR_PATH_NOT_FOUND},
               {EACCES, ERROR_ACCESS_DENIED},       {EPERM, ERROR_ACCESS_DENIED},
               {EISDIR, ERROR_ACCESS_DENIED},       {ENOSPC, ERROR_DISK_FULL},
               {EMFILE, ERROR_TOO_MANY_OPEN_FILES}, {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
               {EEXIST, ERROR_FILE_EXISTS},         {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
               {EROFS, ERROR_WRITE_PROTECT},        {EBADF, ERROR_INVALID_HANDLE},
               {ETXTBSY, ERROR_SHARING_VIOLATION},  {EIO, ERROR_IO_DEVICE}};
  for (const auto& c : cases) {
    EXPECT_EQ(platform::Win32ErrorFromErrno(c.error), c.code) << "errno " << c.error;
  }
}

}  // namespace

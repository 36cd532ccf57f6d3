// Open, EOF, Close and FreeFile on the process's file table, with the bad
// inputs each must refuse and leave the number free.
#include "runtime/core/FileStatements.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DefaultValueObject.h"
#include "FileTestSupport.h"
#include "platform/testing.h"
#include "runtime/core/LineInput.h"
#include "runtime/core/PrintStatement.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

using testing::DefaultValueObject;
using testing::FileTest;

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kUtf8WithMark = CP_UTF8 | kEncodingByteOrderMark;

using OpenFileTest = FileTest;

bool eof(LONG fileNumber) {
  VARIANT_BOOL atEnd = 0;
  EXPECT_EQ(FileEof(fileNumber, &atEnd), S_OK);
  return atEnd == VARIANT_TRUE;
}

TEST_F(OpenFileTest, RefusesBadNumbersRecordLengthsAndMissingFiles) {
  folder_.write("settings.txt", "x\r\n");
  std::filesystem::create_directory(folder_.posix("dir"));
  struct Case {
    const char* what;
    std::string name;
    LONG fileNumber;
    LONG recordLength;
    DWORD creation;
    FileMode mode;
    DWORD access;
  } cases[] = {
      {"file number 0", "settings.txt", 0, 128, OPEN_EXISTING, FileMode::Input, GENERIC_READ},
      {"file number 513", "settings.txt", 513, 128, OPEN_EXISTING, FileMode::Input, GENERIC_READ},
      {"record length 0", "settings.txt", 1, 0, OPEN_EXISTING, FileMode::Input, GENERIC_READ},
      {"record length 32768", "settings.txt", 1, 32768, OPEN_EXISTING, FileMode::Input,
       GENERIC_READ},
      {"missing file", "missing.txt", 1, 128, OPEN_EXISTING, FileMode::Input, GENERIC_READ},
      {"missing folder", "nowhere/out.txt", 1, 128, CREATE_ALWAYS, FileMode::Output, GENERIC_WRITE},
      {"a folder for output", "dir", 1, 128, CREATE_ALWAYS, FileMode::Output, GENERIC_WRITE},
      {"a folder for input", "dir", 1, 128, OPEN_EXISTING, FileMode::Input, GENERIC_READ},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenFile(path(c.name), c.fileNumber, c.recordLength, c.access, kShareReadWrite,
                       c.creation, kOpenFallBackToNarrowerAccess, c.mode, 0),
              E_FAIL)
        << c.what;
    EXPECT_TRUE(isFree(1)) << c.what;
  }
  VARIANT_BOOL atEnd = 0;
  EXPECT_EQ(FileEof(1, &atEnd), E_FAIL);
  EXPECT_EQ(CloseFile(513), E_FAIL);
  EXPECT_EQ(CloseFile(1), S_OK);  // a free number
  EXPECT_EQ(OpenFile(path("settings.txt"), 512, 32767, GENERIC_READ, kShareReadWrite, OPEN_EXISTING,
                     0, FileMode::Input, 0),
            S_OK);
}

TEST_F(OpenFileTest, AUsedNumberStaysWithItsFile) {
  folder_.write("a.txt", "first\r\n");
  folder_.write("b.txt", "second\r\n");
  ASSERT_EQ(OpenForInput(path("a.txt"), 3), S_OK);
  EXPECT_EQ(OpenForInput(path("b.txt"), 3), E_FAIL);
  Bstr line;
  ASSERT_EQ(LineInput(3, &line), S_OK);
  EXPECT_EQ(line.view(), u"first");
}

TEST_F(OpenFileTest, InputOfAnEmptyFileIsAtEndAtOnceAndOutputAlways) {
  folder_.write("empty.txt", "");
  folder_.write("full.txt", "x");
  ASSERT_EQ(OpenForInput(path("empty.txt"), 1), S_OK);
  ASSERT_EQ(OpenForInput(path("full.txt"), 2), S_OK);
  ASSERT_EQ(OpenForOutput(path("out.txt"), 3), S_OK);
  EXPECT_TRUE(eof(1));
  EXPECT_FALSE(eof(2));
  EXPECT_TRUE(eof(3));
}

TEST_F(OpenFileTest, OutputEmptiesAnExistingFile) {
  folder_.write("out.txt", "old contents");
  ASSERT_EQ(OpenForOutput(path("out.txt"), 1), S_OK);
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("out.txt"), "");
}

TEST_F(OpenFileTest, ByteOrderMarksAreWrittenAndChecked) {
  struct Case {
    const char* what;
    std::string contents;  // before the open; "-" for no file
    FileMode mode;
    DWORD creation;
    DWORD encoding;
    HRESULT status;
    std::string after;  // the file once closed
    DWORD markLength;
  } cases[] = {
      {"UTF-8 output writes EF BB BF", "-", FileMode::Output, CREATE_ALWAYS, kUtf8WithMark, S_OK,
       "\xEF\xBB\xBF", 3},
      {"UTF-16 output writes FF FE", "-", FileMode::Output, CREATE_ALWAYS,
       CP_UTF16LE | kEncodingByteOrderMark, S_OK, "\xFF\xFE", 2},
      {"UTF-7 output writes 2B 2F 76", "-", FileMode::Output, CREATE_ALWAYS,
       CP_UTF7 | kEncodingByteOrderMark, S_OK, "+/v", 3},
      {"UTF-8 input with its mark", "\xEF\xBB\xBFok", FileMode::Input, OPEN_EXISTING, kUtf8WithMark,
       S_OK, "\xEF\xBB\xBFok", 3},
      {"UTF-8 input without its mark", "plain text", FileMode::Input, OPEN_EXISTING, kUtf8WithMark,
       E_FAIL, "plain text", 0},
      {"UTF-8 input shorter than the mark", "\xEF\xBB", FileMode::Input, OPEN_EXISTING,
       kUtf8WithMark, E_FAIL, "\xEF\xBB", 0},
      {"a mark for a code page without one", "-", FileMode::Output, CREATE_ALWAYS,
       CP_WINDOWS1252 | kEncodingByteOrderMark, E_FAIL, "", 0},
      {"append to an empty file writes it", "", FileMode::Append, OPEN_ALWAYS, kUtf8WithMark, S_OK,
       "\xEF\xBB\xBF", 3},
      {"append checks an existing file's mark", "\xEF\xBB\xBFold", FileMode::Append, OPEN_ALWAYS,
       kUtf8WithMark, S_OK, "\xEF\xBB\xBFold", 3},
      {"append refuses a file without it", "old", FileMode::Append, OPEN_ALWAYS, kUtf8WithMark,
       E_FAIL, "old", 0},
      {"binary on an empty file writes it", "", FileMode::Binary, OPEN_ALWAYS, kUtf8WithMark, S_OK,
       "\xEF\xBB\xBF", 3},
      {"random checks a file that has data", "\xFF\xFE", FileMode::Random, OPEN_ALWAYS,
       CP_UTF16LE | kEncodingByteOrderMark, S_OK, "\xFF\xFE", 2},
  };
  for (const Case& c : cases) {
    const std::string name = "mark.txt";
    if (c.contents == "-") {
      std::filesystem::remove(folder_.posix(name));
    } else {
      folder_.write(name, c.contents);
    }
    EXPECT_EQ(OpenFile(path(name), 7, 128, kReadWrite, kShareReadWrite, c.creation,
                       kOpenFallBackToNarrowerAccess, c.mode, c.encoding),
              c.status)
        << c.what;
    if (SUCCEEDED(c.status)) {
      const FileSlot* slot = OpenFileSlot(7);
      ASSERT_NE(slot, nullptr) << c.what;
      EXPECT_EQ(slot->byteOrderMarkLength, c.markLength) << c.what;
      EXPECT_EQ(slot->position, c.markLength) << c.what;
    } else {
      EXPECT_TRUE(isFree(7)) << c.what;
    }
    EXPECT_EQ(CloseFile(7), S_OK) << c.what;
    EXPECT_TRUE(isFree(7)) << c.what;
    EXPECT_EQ(folder_.read(name), c.after) << c.what;
  }
}

TEST_F(OpenFileTest, AtEndFlagPositionsAfterTheLastByte) {
  folder_.write("log.txt", "abc\r\n");
  ASSERT_EQ(OpenFile(path("log.txt"), 1, 128, GENERIC_WRITE, kShareReadWrite, OPEN_ALWAYS,
                     kOpenFallBackToNarrowerAccess | kOpenAtEnd, FileMode::Append, 0),
            S_OK);
  EXPECT_EQ(OpenFileSlot(1)->position, 5u);
  ASSERT_EQ(PrintLine(1, Variant::Str(u"d")), S_OK);
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("log.txt"), "abc\r\nd\r\n");
}

TEST_F(OpenFileTest, FallsBackToNarrowerAccessWhenAsked) {
  folder_.write("shared.txt", "line\r\n");
  // Another handle that lets others read but not write.
  HANDLE reader = CreateFileW(path("shared.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(OpenFile(path("shared.txt"), 1, 128, kReadWrite, kShareReadWrite, OPEN_EXISTING, 0,
                     FileMode::Binary, 0),
            E_FAIL);
  EXPECT_TRUE(isFree(1));
  ASSERT_EQ(OpenFile(path("shared.txt"), 1, 128, kReadWrite, kShareReadWrite, OPEN_EXISTING,
                     kOpenFallBackToNarrowerAccess, FileMode::Binary, 0),
            S_OK);
  Bstr line;
  EXPECT_EQ(LineInput(1, &line), S_OK);
  EXPECT_EQ(line.view(), u"line");
  CloseHandle(reader);
}

TEST_F(OpenFileTest, BufferSizesFollowModeAndRecordLength) {
  folder_.write("data.bin", "");
  struct Case {
    FileMode mode;
    LONG recordLength;
    DWORD openFlags;
    DWORD capacity;
    bool hasBuffer;
  } cases[] = {
      {FileMode::Input, 128, 0, 4096, true},
      {FileMode::Input, 255, 0, 4096, true},
      {FileMode::Input, 256, 0, 256, true},
      {FileMode::Output, 128, 0, 128, true},
      {FileMode::Binary, 1, 0, 1, true},
      {FileMode::Input, 128, kOpenUnbuffered, 1, false},
      {FileMode::Output, 512, kOpenUnbuffered, 1, false},
  };
  for (const Case& c : cases) {
    const DWORD creation = c.mode == FileMode::Input ? OPEN_EXISTING : OPEN_ALWAYS;
    ASSERT_EQ(OpenFile(path("data.bin"), 1, c.recordLength, kReadWrite, kShareReadWrite, creation,
                       kOpenFallBackToNarrowerAccess | c.openFlags, c.mode, 0),
              S_OK);
    const FileSlot* slot = OpenFileSlot(1);
    EXPECT_EQ(slot->bufferCapacity, c.capacity) << c.recordLength;
    EXPECT_EQ(slot->buffer.size(), c.hasBuffer ? c.capacity : 0u) << c.recordLength;
    ASSERT_EQ(CloseFile(1), S_OK);
  }
}

TEST_F(OpenFileTest, AFullDiskFailsTheMarkOrTheCloseAndLeavesTheNumberFree) {
  {
    platform::ScopedDiskFull full;
    EXPECT_EQ(OpenFile(path("a.txt"), 1, 128, GENERIC_WRITE, kShareReadWrite, CREATE_ALWAYS, 1,
                       FileMode::Output, kUtf8WithMark),
              E_FAIL);
    EXPECT_TRUE(isFree(1));
  }
  ASSERT_EQ(OpenForOutput(path("b.txt"), 1), S_OK);
  ASSERT_EQ(PrintLine(1, Variant::Str(u"buffered until the close")), S_OK);
  platform::ScopedDiskFull full;
  EXPECT_EQ(CloseFile(1), E_FAIL);
  EXPECT_TRUE(isFree(1));
  EXPECT_EQ(CloseFile(1), S_OK);  // already free
}

using FreeFileTest = FileTest;

SHORT freeFile(const VARIANT* range) {
  SHORT number = -1;
  EXPECT_EQ(FreeFileNumber(range, &number), S_OK);
  return number;
}

TEST_F(FreeFileTest, TwoRangesChosenByTheArgument) {
  LONG zero = 0;
  Variant zeroByReference;
  zeroByReference.vt = VT_I4 | VT_BYREF;
  zeroByReference.plVal = &zero;
  DefaultValueObject one(Variant::I4(1));
  Variant oneObject = one.asArgument();
  struct Case {
    const char* what;
    Variant range;
    SHORT number;
  } cases[] = {
      {"missing", Variant::Missing(), 1},
      {"0", Variant::I4(0), 1},
      {"0 by reference", zeroByReference, 1},
      {"1", Variant::I4(1), 256},
      {"a 16-bit 2", Variant::I2(2), 256},
      {"the text 1", Variant::Str(u"1"), 256},
      {"an object whose value is 1", oneObject, 256},
  };
  for (const Case& c : cases)
    EXPECT_EQ(freeFile(&c.range), c.number) << c.what;
  EXPECT_EQ(freeFile(nullptr), 1);
  EXPECT_EQ(one.lastFlags, DISPATCH_PROPERTYGET);
}

TEST_F(FreeFileTest, SkipsNumbersInUseAndFailsWhenARangeIsFull) {
  folder_.write("f.txt", "");
  ASSERT_EQ(OpenForInput(path("f.txt"), 1), S_OK);
  ASSERT_EQ(OpenForInput(path("f.txt"), 256), S_OK);
  Variant one = Variant::I4(1);
  EXPECT_EQ(freeFile(nullptr), 2);
  EXPECT_EQ(freeFile(&one), 257);
  for (LONG n = 2; n <= 255; ++n)
    ASSERT_EQ(OpenForInput(path("f.txt"), n), S_OK);
  SHORT number = 0;
  EXPECT_EQ(FreeFileNumber(nullptr, &number), E_FAIL);
  EXPECT_EQ(freeFile(&one), 257);
}

TEST_F(FreeFileTest, NullAndNullObjectsAreRunTimeErrors) {
  Variant null = Variant::Null();
  Variant nullObject = testing::NullObjectArgument();
  Variant text = Variant::Str(u"many");
  SHORT number = 0;
  EXPECT_EQ(FreeFileNumber(&null, &number), static_cast<HRESULT>(0x800A005E));
  EXPECT_EQ(FreeFileNumber(&nullObject, &number), static_cast<HRESULT>(0x800A005B));
  EXPECT_EQ(FreeFileNumber(&text, &number), E_FAIL);
}

}  // namespace
}  // namespace rt

// Print # and the buffered writer beneath it, and a settings-style save and
// load through procedures of the error model.
#include "runtime/core/PrintStatement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DefaultValueObject.h"
#include "FileTestSupport.h"
#include "platform/locale.h"
#include "runtime/core/LineInput.h"
#include "runtime/core/ProcedureFrame.h"

namespace rt {
namespace {

using testing::DefaultValueObject;
using PrintTest = testing::FileTest;

Variant dateOf(DATE value) {
  Variant v;
  v.vt = VT_DATE;
  v.date = value;
  return v;
}

TEST_F(PrintTest, EachValueOnItsOwnLine) {
  platform::ScopedUserLocale english(0x0409);
  DefaultValueObject seven(Variant::I4(7));
  DefaultValueObject named(Variant::Str(u"name"));
  Variant empty;
  struct Case {
    const char* what;
    Variant value;
    std::string line;
  } cases[] = {
      {"0", Variant::I4(0), " 0 "},
      {"1", Variant::I4(1), " 1 "},
      {"2", Variant::I2(2), " 2 "},
      {"-1", Variant::I4(-1), "-1 "},
      {"a real", Variant::R8(1.5), " 1.5 "},
      {"a negative real", Variant::R8(-0.25), "-0.25 "},
      {"a date", dateOf(45293.0), "1/2/2024 "},
      {"a string", Variant::Str(u"  padded text  "), "  padded text  "},
      {"Empty", empty, ""},
      {"True", Variant::Bool(true), "True"},
      {"False", Variant::Bool(false), "False"},
      {"Null", Variant::Null(), "Null"},
      {"an error value", Variant::Error(static_cast<SCODE>(0x800A0005)), "Error 5"},
      {"an object with a number", seven.asArgument(), " 7 "},
      {"an object with a text", named.asArgument(), "name"},
  };
  std::string expected;
  ASSERT_EQ(OpenForOutput(path("print.txt"), 1), S_OK);
  for (const Case& c : cases) {
    EXPECT_EQ(PrintLine(1, c.value), S_OK) << c.what;
    expected += c.line + "\r\n";
  }
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("print.txt"), expected);
}

TEST_F(PrintTest, NumbersUseTheUsersDecimalSeparator) {
  platform::ScopedUserLocale german(0x0407);
  ASSERT_EQ(OpenForOutput(path("de.txt"), 1), S_OK);
  ASSERT_EQ(PrintLine(1, Variant::R8(2.5)), S_OK);
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("de.txt"), " 2,5 \r\n");
}

TEST_F(PrintTest, RefusesBadNumbersAndValuesWithoutText) {
  FileSlot* slot = nullptr;
  EXPECT_EQ(PrintSlot(0, &slot), E_FAIL);
  EXPECT_EQ(PrintSlot(1, &slot), E_FAIL);
  ASSERT_EQ(OpenForOutput(path("bad.txt"), 1), S_OK);
  ASSERT_EQ(PrintSlot(1, &slot), S_OK);
  EXPECT_EQ(PrintItem(*slot, testing::NullObjectArgument()), E_FAIL);
  Variant array;
  array.vt = VT_ARRAY | VT_I4;
  array.parray = SafeArrayCreateVector(VT_I4, 0, 2);
  EXPECT_EQ(PrintItem(*slot, array), E_FAIL);
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("bad.txt"), "");
}

TEST_F(PrintTest, ColumnAfterLineBreaksAndTabsInsideATextAndLineWidth) {
  struct Case {
    const char16_t* text;
    DWORD column;
  } cases[] = {
      {u"abc", 3 + 3}, {u"ab\r\ncd", 2}, {u"ab\rcd", 2},  {u"ab\ncd", 2},
      {u"x\r\n", 0},   {u"a\tb", 9},     {u"\r\n\tb", 9},
  };
  ASSERT_EQ(OpenForOutput(path("col.txt"), 1), S_OK);
  FileSlot* slot = nullptr;
  ASSERT_EQ(PrintSlot(1, &slot), S_OK);
  for (const Case& c : cases) {
    ASSERT_EQ(PrintItem(*slot, Variant::Str(u"123")), S_OK);
    ASSERT_EQ(PrintItem(*slot, Variant::Str(c.text)), S_OK);
    EXPECT_EQ(slot->column, c.column) << &c - cases;
    ASSERT_EQ(PrintEnd(*slot), S_OK);
  }

  // With a line width of 10 a write that would pass it starts a new line,
  // unless the line is still empty.
  slot->lineWidth = 10;
  ASSERT_EQ(PrintItem(*slot, Variant::Str(u"12345678")), S_OK);
  ASSERT_EQ(PrintItem(*slot, Variant::Str(u"ab")), S_OK);
  ASSERT_EQ(PrintItem(*slot, Variant::Str(u"c")), S_OK);
  ASSERT_EQ(PrintItem(*slot, Variant::Str(u"twelve chars")), S_OK);
  ASSERT_EQ(PrintEnd(*slot), S_OK);
  ASSERT_EQ(CloseFile(1), S_OK);
  const std::string written = folder_.read("col.txt");
  EXPECT_EQ(written.substr(written.rfind("12345678")), "12345678ab\r\nc\r\ntwelve chars\r\n");
}

TEST_F(PrintTest, EncodedFiles) {
  struct Case {
    DWORD encoding;
    std::string bytes;
  } cases[] = {
      {CP_UTF8 | kEncodingByteOrderMark, "\xEF\xBB\xBF\xC3\xBC 1 \r\n"},
      {CP_UTF16LE | kEncodingByteOrderMark, std::string("\xFF\xFE\xFC\0 \0"
                                                        "1\0 \0\r\0\n\0",
                                                        14)},
      {0, "\xFC 1 \r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(OpenFile(path("enc.txt"), 1, 128, GENERIC_WRITE, 3, CREATE_ALWAYS, 1,
                       FileMode::Output, c.encoding),
              S_OK);
    FileSlot* slot = nullptr;
    ASSERT_EQ(PrintSlot(1, &slot), S_OK);
    ASSERT_EQ(PrintItem(*slot, Variant::Str(u"ü")), S_OK);
    ASSERT_EQ(PrintItem(*slot, Variant::I4(1)), S_OK);
    ASSERT_EQ(PrintEnd(*slot), S_OK);
    ASSERT_EQ(CloseFile(1), S_OK);
    EXPECT_EQ(folder_.read("enc.txt"), c.bytes) << c.encoding;
  }
}

TEST_F(PrintTest, BufferIsWrittenWhenFullAndLargeWritesGoStraightThrough) {
  ASSERT_EQ(OpenForOutput(path("buffer.bin"), 1), S_OK);  // a 128-byte buffer
  FileSlot* slot = nullptr;
  ASSERT_EQ(PrintSlot(1, &slot), S_OK);
  struct Step {
    size_t length;
    size_t onDisk;
    DWORD buffered;
  } steps[] = {
      {100, 0, 100},  // fits
      {28, 0, 128},   // fills it exactly
      {1, 128, 1},    // the full buffer goes out first
      {100, 128, 101},
      {300, 529, 0},  // 27 fill the buffer, which goes out; 273 go straight through
  };
  size_t total = 0;
  for (const Step& s : steps) {
    const std::vector<BYTE> bytes(s.length, static_cast<BYTE>('a' + total % 26));
    ASSERT_EQ(WriteBytes(*slot, bytes, false), S_OK);
    total += s.length;
    EXPECT_EQ(folder_.read("buffer.bin").size(), s.onDisk) << s.length;
    EXPECT_EQ(slot->bufferedCount, s.buffered) << s.length;
    EXPECT_EQ(slot->position, s.onDisk) << s.length;
  }
  ASSERT_EQ(CloseFile(1), S_OK);
  EXPECT_EQ(folder_.read("buffer.bin").size(), total);
}

TEST_F(PrintTest, UnbufferedFilesWriteAtOnce) {
  ASSERT_EQ(OpenFile(path("now.txt"), 1, 128, GENERIC_WRITE, 3, CREATE_ALWAYS, 1 | kOpenUnbuffered,
                     FileMode::Output, 0),
            S_OK);
  ASSERT_EQ(PrintLine(1, Variant::Str(u"at once")), S_OK);
  EXPECT_EQ(folder_.read("now.txt"), "at once\r\n");
}

// ---------------------------------------------------------------------------
// Saving and loading texts the way the application's settings are kept:
// procedures of the error model over the file statements.
// ---------------------------------------------------------------------------

// Writes each text on its own line; fails at its sites like compiled code.
HRESULT SaveTexts(const std::u16string& file, const std::vector<Variant>& values) {
  enum Stmt : StatementIndex { kFree, kOpen, kPrint, kClose };
  enum Sites : SiteIndex { kSiteFree, kSiteOpen, kSitePrint, kSiteClose };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "SaveTexts", ReturnKind::Status,
      {Site::Call(kFree), Site::Call(kOpen), Site::Call(kPrint), Site::Call(kClose)});
  SHORT f = 0;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kFree:
        frame.check(kSiteFree, FreeFileNumber(nullptr, &f));
        return Step;
      case kOpen:
        frame.check(kSiteOpen, OpenForOutput(file, f));
        return Step;
      case kPrint:
        for (const Variant& value : values)
          frame.check(kSitePrint, PrintLine(f, value));
        return Step;
      case kClose:
        frame.check(kSiteClose, CloseFile(f));
        return Exit;
    }
    return Exit;
  });
}

// Reads groups of `groupSize` lines while the file is not at its end; a
// failure is handled by noting it, as the application shows its box.
struct LoadTexts {
  enum Stmt : StatementIndex { kFree, kTrap, kOpen, kLoop, kRead, kClose, kHandler };
  enum Sites : SiteIndex { kSiteFree, kSiteOpen, kSiteEof, kSiteRead, kSiteClose };
  inline static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("LoadTexts", ReturnKind::Status,
                        {Site::Call(kFree), Site::Call(kOpen), Site::Call(kLoop), Site::Call(kRead),
                         Site::Call(kClose)});

  std::vector<std::u16string> lines;
  size_t groupSize = 3;
  bool failed = false;

  HRESULT operator()(const std::u16string& file) {
    SHORT f = 0;
    VARIANT_BOOL atEnd = 0;
    ProcedureFrame frame(kDescriptor);
    return frame.run([&](StatementIndex s) -> Next {
      switch (s) {
        case kFree:
          frame.check(kSiteFree, FreeFileNumber(nullptr, &f));
          return Step;
        case kTrap:
          frame.onErrorGoTo(kHandler);
          return Step;
        case kOpen:
          frame.check(kSiteOpen, OpenForInput(file, f));
          return Step;
        case kLoop:
          frame.check(kSiteEof, FileEof(f, &atEnd));
          return atEnd ? GoTo(kClose) : Step;
        case kRead:
          for (size_t i = 0; i < groupSize; ++i) {
            Bstr line;
            frame.check(kSiteRead, LineInput(f, &line));
            lines.emplace_back(line.view());
          }
          return GoTo(kLoop);
        case kClose:
          frame.check(kSiteClose, CloseFile(f));
          return Exit;
        case kHandler:
          failed = true;
          return Exit;
      }
      return Exit;
    });
  }
};

TEST_F(PrintTest, SavedTextsLoadBackUnchanged) {
  platform::ScopedUserLocale english(0x0409);
  const std::vector<Variant> values = {Variant::Str(u"  127.0.0.1"),
                                       Variant::Str(u"Hello World!  "),
                                       Variant::Str(u"  both  "),
                                       Variant::Str(u""),
                                       Variant::I2(1),
                                       Variant::I2(0)};
  const std::u16string file = path("Settings.txt");
  ASSERT_EQ(SaveTexts(file, values), S_OK);
  EXPECT_EQ(folder_.read("Settings.txt"),
            "  127.0.0.1\r\nHello World!  \r\n  both  \r\n\r\n 1 \r\n 0 \r\n");
  LoadTexts load;
  ASSERT_EQ(load(file), S_OK);
  EXPECT_FALSE(load.failed);
  const std::vector<std::u16string> expected = {
      u"  127.0.0.1", u"Hello World!  ", u"  both  ", u"", u" 1 ", u" 0 "};
  EXPECT_EQ(load.lines, expected);
}

TEST_F(PrintTest, LoadingAShortFileEmptiesTheRestWithoutAnError) {
  folder_.write("short.txt", "one\r\ntwo");
  LoadTexts load;
  ASSERT_EQ(load(path("short.txt")), S_OK);
  EXPECT_FALSE(load.failed);
  EXPECT_EQ(load.lines, (std::vector<std::u16string>{u"one", u"two", u""}));
  LoadTexts missing;
  ASSERT_EQ(missing(path("missing.txt")), S_OK);
  EXPECT_TRUE(missing.failed);
  EXPECT_EQ(CurrentErrorContext().error.number, -2147467259);  // E_FAIL
}

}  // namespace
}  // namespace rt

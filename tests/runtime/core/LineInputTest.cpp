// Line Input # over the read cache of Input files and the direct reads of
// Binary files, and the at-end flag it maintains.
#include "runtime/core/LineInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileTestSupport.h"
#include "platform/locale.h"

namespace rt {
namespace {

using LineInputTest = testing::FileTest;

struct Read {
  std::u16string line;
  bool atEndAfter;
};

// Reads as many lines as `expected` has, checking each line and EOF after it.
void expectLines(LONG fileNumber, const std::vector<Read>& expected, const std::string& what) {
  for (size_t i = 0; i < expected.size(); ++i) {
    Bstr line(u"previous");
    ASSERT_EQ(LineInput(fileNumber, &line), S_OK) << what << " line " << i + 1;
    EXPECT_EQ(line.view(), expected[i].line) << what << " line " << i + 1;
    EXPECT_NE(line.get(), nullptr) << what << " line " << i + 1;
    VARIANT_BOOL atEnd = 0;
    ASSERT_EQ(FileEof(fileNumber, &atEnd), S_OK);
    EXPECT_EQ(atEnd == VARIANT_TRUE, expected[i].atEndAfter) << what << " line " << i + 1;
  }
}

std::string repeat(char c, size_t count) {
  return std::string(count, c);
}
std::u16string repeat16(char16_t c, size_t count) {
  return std::u16string(count, c);
}

TEST_F(LineInputTest, LineEndsNulBytesAndTheEndOfTheFile) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<Read> reads;
  } cases[] = {
      {"CR LF, lone CR, lone LF",
       "a\r\nb\rc\nd",
       {{u"a", false}, {u"b", false}, {u"c\nd", true}, {u"", true}, {u"", true}}},
      {"last line ended by CR LF", "one\r\ntwo\r\n", {{u"one", false}, {u"two", true}}},
      {"last line without its end", "one\r\ntwo", {{u"one", false}, {u"two", true}}},
      {"CR as the last byte", "one\r", {{u"one", true}, {u"", true}}},
      {"empty lines", "\r\n\r\n", {{u"", false}, {u"", true}}},
      {"CR CR LF", "a\r\r\nb", {{u"a", false}, {u"", false}, {u"b", true}}},
      {"NUL bytes are dropped",
       std::string("a\0b\r\n\0\0\r\nc\0", 11),
       {{u"ab", false}, {u"", false}, {u"c", true}}},
      {"an empty file", "", {{u"", true}}},
      {"ANSI text", "caf\xE9 \x80\r\n", {{u"caf\u00E9 \u20AC", true}}},
      {"CR and LF split between two scanner chunks",
       repeat('x', 127) + "\r\ny",
       {{repeat16(u'x', 127), false}, {u"y", true}}},
      {"a line longer than the cache",
       repeat('z', 5000) + "\r\nend",
       {{repeat16(u'z', 5000), false}, {u"end", true}}},
  };
  for (const Case& c : cases) {
    folder_.write("lines.txt", c.bytes);
    ASSERT_EQ(OpenForInput(path("lines.txt"), 1), S_OK) << c.what;
    expectLines(1, c.reads, c.what);
    ASSERT_EQ(CloseFile(1), S_OK);
  }
}

TEST_F(LineInputTest, LinesAcrossManyCacheRefills) {
  // 300 lines of 40 characters: the 4096-byte cache refills several times,
  // with lines and CR LF pairs cut at its edges.
  std::string bytes;
  std::vector<Read> reads;
  for (int i = 0; i < 300; ++i) {
    std::string text =
        std::to_string(i) + ":" + repeat('a' + i % 26, 37 - std::to_string(i).size());
    bytes += text + "\r\n";
    reads.push_back({std::u16string(text.begin(), text.end()), i == 299});
  }
  folder_.write("long.txt", bytes);
  for (LONG recordLength : {128L, 256L, 1000L}) {
    ASSERT_EQ(OpenFile(path("long.txt"), 1, recordLength, GENERIC_READ, 3, OPEN_EXISTING, 1,
                       FileMode::Input, 0),
              S_OK);
    expectLines(1, reads, "record length " + std::to_string(recordLength));
    ASSERT_EQ(CloseFile(1), S_OK);
  }
}

TEST_F(LineInputTest, FileEndingExactlyWithAFullCacheReadEndsThere) {
  // 4096 bytes: 64 lines of 62 characters and CR LF fill the cache exactly.
  std::string bytes;
  std::vector<Read> reads;
  for (int i = 0; i < 64; ++i) {
    bytes += repeat('k', 62) + "\r\n";
    reads.push_back({repeat16(u'k', 62), i == 63});
  }
  ASSERT_EQ(bytes.size(), 4096u);
  folder_.write("exact.txt", bytes);
  ASSERT_EQ(OpenForInput(path("exact.txt"), 1), S_OK);
  expectLines(1, reads, "exactly one cache");
  ASSERT_EQ(CloseFile(1), S_OK);
}

TEST_F(LineInputTest, BinaryAndUnbufferedFilesReadDirectly) {
  folder_.write("data.txt", "first\r\nsecond\nhalf\rlast");
  const std::vector<Read> reads = {
      {u"first", false}, {u"second\nhalf", false}, {u"last", true}, {u"", true}};
  ASSERT_EQ(
      OpenFile(path("data.txt"), 1, 1, GENERIC_READ, 3, OPEN_EXISTING, 1, FileMode::Binary, 0),
      S_OK);
  expectLines(1, reads, "binary");
  ASSERT_EQ(OpenFile(path("data.txt"), 2, 128, GENERIC_READ, 3, OPEN_EXISTING, 1 | kOpenUnbuffered,
                     FileMode::Input, 0),
            S_OK);
  expectLines(2, reads, "unbuffered input");
}

TEST_F(LineInputTest, EncodedFiles) {
  struct Case {
    const char* what;
    std::string bytes;
    DWORD encoding;
    std::vector<Read> reads;
  } cases[] = {
      {"UTF-8 after its mark",
       "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F"
       "e\r\nzwei",
       CP_UTF8 | kEncodingByteOrderMark,
       {{u"grüße", false}, {u"zwei", true}}},
      {"UTF-8 without a mark", "\xC3\xA9t\xC3\xA9", CP_UTF8, {{u"été", true}}},
      {"UTF-16 in 16-bit units",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0\0\0b\0\r\0c\0\n\0d\0",
                   20),
       CP_UTF16LE | kEncodingByteOrderMark,
       {{u"a", false}, {u"b", false}, {u"c\nd", true}}},
      // A stray last byte is no character: the line that reaches it takes it
      // along, but after a CR LF it reads as one more, empty, line.
      {"UTF-16 with a stray last byte in the last line",
       std::string("a\0b\0t", 5),
       CP_UTF16LE,
       {{u"ab", true}, {u"", true}}},
      {"UTF-16 with a stray last byte after CR LF",
       std::string("o\0n\0e\0\r\0\n\0t", 11),
       CP_UTF16LE,
       {{u"one", false}, {u"", true}}},
      {"UTF-16 CR byte inside a character",
       std::string("\x0D\x26\r\0", 4),
       CP_UTF16LE,
       {{u"\u260D", true}}},
  };
  for (const Case& c : cases) {
    folder_.write("text.txt", c.bytes);
    ASSERT_EQ(OpenFile(path("text.txt"), 1, 128, GENERIC_READ, 3, OPEN_EXISTING, 1, FileMode::Input,
                       c.encoding),
              S_OK)
        << c.what;
    expectLines(1, c.reads, c.what);
    ASSERT_EQ(CloseFile(1), S_OK);
  }
}

// Found by fuzzing: a UTF-16 file opened For Input with an odd record length
// of 257 or more has a cache that ends inside a 16-bit unit; a line running
// across that end was cut there, and every later line read one byte off.
TEST_F(LineInputTest, Utf16LinesAcrossACacheOfOddLength) {
  std::u16string first = repeat16(u'x', 200);
  std::u16string second = repeat16(u'y', 300);
  std::u16string text = first + u"\r\n" + second + u"\r\nend";
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  folder_.write("wide.txt", bytes);
  for (LONG recordLength : {257L, 301L, 999L}) {
    ASSERT_EQ(OpenFile(path("wide.txt"), 1, recordLength, GENERIC_READ, 3, OPEN_EXISTING, 1,
                       FileMode::Input, CP_UTF16LE),
              S_OK);
    expectLines(1, {{first, false}, {second, false}, {u"end", true}, {u"", true}},
                "record length " + std::to_string(recordLength));
    ASSERT_EQ(CloseFile(1), S_OK);
  }
}

TEST_F(LineInputTest, RefusesBadNumbersAndOtherModes) {
  ASSERT_EQ(OpenForOutput(path("out.txt"), 1), S_OK);
  Bstr line(u"kept");
  EXPECT_EQ(LineInput(0, &line), E_FAIL);
  EXPECT_EQ(LineInput(513, &line), E_FAIL);
  EXPECT_EQ(LineInput(2, &line), E_FAIL);  // free
  EXPECT_EQ(LineInput(1, &line), E_FAIL);  // output
  EXPECT_EQ(line.view(), u"kept");
}

}  // namespace
}  // namespace rt

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel.h"

namespace {

constexpr DWORD kSystemText =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// The runtime's call: allocated, inserts ignored, the user's language.
std::u16string systemText(DWORD id, DWORD languageId = 0x0400) {
  LPWSTR text = nullptr;
  const DWORD n = FormatMessageW(kSystemText, nullptr, id, languageId,
                                 reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (n == 0) return u"<none>";
  std::u16string result(text, n);
  LocalFree(text);
  return result;
}

std::u16string fromString(const char16_t* pattern, const DWORD_PTR* arguments,
                          DWORD flags = FORMAT_MESSAGE_FROM_STRING) {
  char16_t buffer[200];
  const DWORD n =
      FormatMessageW(flags, pattern, 0, 0, buffer, 200, const_cast<DWORD_PTR*>(arguments));
  return n == 0 && GetLastError() != 0 ? u"<failed>" : std::u16string(buffer, n);
}

struct MessageCase {
  DWORD id;
  std::u16string_view text;  // without the closing line break
};

class SystemMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(SystemMessage, IsThePlatformTextEndingInALineBreak) {
  const MessageCase& c = GetParam();
  EXPECT_EQ(systemText(c.id), std::u16string(c.text) + u"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, SystemMessage,
    testing::Values(
        MessageCase{0x80004005, u"Unspecified error"},
        MessageCase{0x80070057, u"The parameter is incorrect."},
        MessageCase{0x8007000E, u"Not enough storage is available to complete this operation."},
        MessageCase{0x80004002, u"No such interface supported"},
        MessageCase{0x80004001, u"Not implemented"}, MessageCase{0x80004003, u"Invalid pointer"},
        MessageCase{0x8000FFFF, u"Catastrophic failure"},
        MessageCase{0x80004004, u"Operation aborted"},
        MessageCase{0x80070005, u"Access is denied."},
        MessageCase{0x80070002, u"The system cannot find the file specified."},
        MessageCase{0x80070003, u"The system cannot find the path specified."},
        MessageCase{0x80070020,
                    u"The process cannot access the file because it is being used by another "
                    u"process."},
        MessageCase{0x80020005, u"Type mismatch."}, MessageCase{0x80020003, u"Member not found."},
        MessageCase{0x8002000A, u"Out of present range."},
        MessageCase{0x80020012, u"Division by zero."},
        MessageCase{0x80020009, u"Exception occurred."},
        MessageCase{0x80040110, u"Class does not support aggregation (or class object is remote)"},
        MessageCase{0x80040111, u"ClassFactory cannot supply requested class"},
        MessageCase{0x80040154, u"Class not registered"},
        MessageCase{0x800401F3, u"Invalid class string"},
        MessageCase{0x80040201, u"An event was unable to invoke any of the subscribers"}));

INSTANTIATE_TEST_SUITE_P(
    Win32Codes, SystemMessage,
    testing::Values(
        MessageCase{ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified."},
        MessageCase{ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified."},
        MessageCase{ERROR_ACCESS_DENIED, u"Access is denied."},
        MessageCase{ERROR_DISK_FULL, u"There is not enough space on the disk."},
        MessageCase{ERROR_INVALID_PARAMETER, u"The parameter is incorrect."},
        MessageCase{ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists."},
        MessageCase{ERROR_CLASS_HAS_WINDOWS, u"Class still has open windows."},
        MessageCase{ERROR_SUCCESS, u"The operation completed successfully."},
        MessageCase{ERROR_MR_MID_NOT_FOUND,
                    u"The system cannot find message text for message number 0x%1 in "
                    u"the message file for %2."}));

TEST(FormatMessage, UnknownIdentifiersHaveNoText) {
  for (DWORD id : {0x800A0005u, 0x80040200u, 0x80040202u, 0x12345678u, 9999u}) {
    SetLastError(0);
    EXPECT_EQ(systemText(id), u"<none>") << std::hex << id;
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
  }
}

TEST(FormatMessage, EnglishAndDefaultLanguagesOnly) {
  EXPECT_EQ(systemText(5, 0), u"Access is denied.\r\n");
  EXPECT_EQ(systemText(5, 0x0409), u"Access is denied.\r\n");
  SetLastError(0);
  EXPECT_EQ(systemText(5, 0x0407), u"<none>");
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_LANG_NOT_FOUND);
}

TEST(FormatMessage, CallerBufferMustHoldTheTerminator) {
  char16_t buffer[20];
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  EXPECT_EQ(FormatMessageW(flags, nullptr, 5, 0, buffer, 20, nullptr), 19u);
  EXPECT_EQ(std::u16string(buffer), u"Access is denied.\r\n");
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(flags, nullptr, 5, 0, buffer, 19, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(FormatMessage, WidthLimitJoinsRegularLineBreaks) {
  char16_t buffer[40];
  const DWORD flags =
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  ASSERT_EQ(FormatMessageW(flags, nullptr, 5, 0, buffer, 40, nullptr), 18u);
  EXPECT_EQ(std::u16string(buffer), u"Access is denied. ");
}

struct InsertCase {
  const char16_t* pattern;
  std::u16string_view expected;
};

class MessageInserts : public testing::TestWithParam<InsertCase> {};

TEST_P(MessageInserts, ExpandFromTheArgumentArray) {
  const InsertCase& c = GetParam();
  const DWORD_PTR arguments[] = {
      reinterpret_cast<DWORD_PTR>(u"first"), reinterpret_cast<DWORD_PTR>(u"second"), 42,
      static_cast<DWORD_PTR>(static_cast<uint32_t>(-7)), reinterpret_cast<DWORD_PTR>("narrow")};
  SetLastError(0);
  EXPECT_EQ(fromString(c.pattern, arguments), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageInserts,
    testing::Values(InsertCase{u"%1 and %2", u"first and second"},
                    InsertCase{u"%2 before %1", u"second before first"},
                    InsertCase{u"%3!d! items", u"42 items"}, InsertCase{u"%4!d!", u"-7"},
                    InsertCase{u"%3!04X!", u"002A"}, InsertCase{u"%3!x!h", u"2ah"},
                    InsertCase{u"%5!hs!", u"narrow"}, InsertCase{u"%1!s!.", u"first."},
                    InsertCase{u"100%% sure%n", u"100% sure\r\n"},
                    InsertCase{u"a%tb%rc", u"a\tb\rc"}, InsertCase{u"%. %! %  end", u". !   end"},
                    InsertCase{u"line one\r\nline two", u"line one\r\nline two"},
                    InsertCase{u"cut%0 here", u"cut"}, InsertCase{u"", u""}));

TEST(FormatMessage, IgnoredInsertsPassThrough) {
  EXPECT_EQ(fromString(u"%1 of %2!d! 100%%", nullptr,
                       FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS),
            u"%1 of %2!d! 100%");
}

TEST(FormatMessage, AllocatedStringText) {
  LPWSTR text = nullptr;
  const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(u"Form1")};
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, u"Loading %1", 0,
                     0, reinterpret_cast<LPWSTR>(&text), 0, const_cast<DWORD_PTR*>(arguments));
  ASSERT_EQ(n, 13u);
  EXPECT_EQ(std::u16string(text), u"Loading Form1");
  EXPECT_EQ(LocalFree(text), nullptr);
}

struct BadCall {
  DWORD flags;
  LPCVOID source;
  bool withBuffer;
};

class FormatMessageRejects : public testing::TestWithParam<BadCall> {};

TEST_P(FormatMessageRejects, WithAnInvalidParameter) {
  const BadCall& c = GetParam();
  char16_t buffer[50];
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(c.flags, c.source, 5, 0, c.withBuffer ? buffer : nullptr, 50, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatMessageRejects,
    testing::Values(BadCall{FORMAT_MESSAGE_FROM_STRING, nullptr, true},
                    BadCall{FORMAT_MESSAGE_FROM_STRING, u"insert %1 missing", true},
                    BadCall{FORMAT_MESSAGE_FROM_STRING, u"bad %1!s", true},
                    BadCall{FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_SYSTEM, u"x", true},
                    BadCall{0, nullptr, true},
                    BadCall{FORMAT_MESSAGE_FROM_SYSTEM, nullptr, false}));

}  // namespace

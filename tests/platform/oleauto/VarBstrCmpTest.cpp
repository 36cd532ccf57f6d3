#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/kernel.h"
#include "platform/locale.h"
#include "platform/oleauto.h"

namespace {

constexpr ULONG kTextCompare = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
constexpr LCID kLocales[] = {0x0409, 0x040C, 0x0407, 0x0C0A, 0x0415};

// A BSTR of exactly these bytes (odd lengths allowed).
Bstr Bytes(std::string_view bytes) {
  return Bstr::Adopt(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
}

Bstr Text(std::u16string_view text) {
  return Bstr(text);
}

struct CmpCase {
  const char* what;
  Bstr left;
  Bstr right;
  HRESULT expected;
};

// Locale 0 compares the bytes as they lie in memory, whatever the flags.
TEST(VarBstrCmp, LocaleZeroComparesBytes) {
  const CmpCase cases[] = {
      {"case counts", Text(u"ack"), Text(u"ACK"), VARCMP_GT},
      {"case counts the other way", Text(u"ACK"), Text(u"ack"), VARCMP_LT},
      {"equal", Text(u"ACK"), Text(u"ACK"), VARCMP_EQ},
      {"the longer wins a tie", Text(u"ab"), Text(u"abc"), VARCMP_LT},
      {"a line end makes a difference", Text(u"ACK\r\n"), Text(u"ACK"), VARCMP_GT},
      {"width counts", Text(u"\uFF21"), Text(u"A"), VARCMP_LT},
      {"odd byte length", Bytes(std::string_view("ab\0", 3)), Bytes("ab"), VARCMP_GT},
      {"odd lengths, same prefix", Bytes("abc"), Bytes(std::string_view("abc\0", 4)), VARCMP_LT},
      {"embedded zero bytes", Bytes(std::string_view("a\0b", 3)),
       Bytes(std::string_view("a\0c", 3)), VARCMP_LT},
      {"a trailing NUL counts", Text(std::u16string_view(u"a\0", 2)), Text(u"a"), VARCMP_GT},
      // The low byte of a UTF-16 unit comes first in memory.
      {"bytes, not code units", Text(u"\u0100"), Text(u"\u00FF"), VARCMP_LT},
      {"null and empty", Bstr(), Text(u""), VARCMP_EQ},
      {"null and null", Bstr(), Bstr(), VARCMP_EQ},
      {"null before text", Bstr(), Text(u"a"), VARCMP_LT},
      {"text after null", Text(u"a"), Bstr(), VARCMP_GT},
  };
  // Whatever the user's locale.
  for (LCID user : kLocales) {
    platform::ScopedUserLocale locale(user);
    for (const CmpCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " for a user in " << std::hex << user);
      EXPECT_EQ(VarBstrCmp(c.left.get(), c.right.get(), 0, kTextCompare), c.expected);
      EXPECT_EQ(VarBstrCmp(c.left.get(), c.right.get(), 0, 0), c.expected);
    }
  }
}

TEST(VarBstrCmp, WithALocaleTrailingNulsMakeNoDifference) {
  const CmpCase cases[] = {
      {"one NUL", Text(std::u16string_view(u"abc\0", 4)), Text(u"abc"), VARCMP_EQ},
      {"NULs on both sides", Text(std::u16string_view(u"abc\0\0", 5)),
       Text(std::u16string_view(u"ABC\0", 4)), VARCMP_EQ},
      {"only NULs", Text(std::u16string_view(u"\0\0", 2)), Text(u""), VARCMP_EQ},
      {"only NULs against null", Text(std::u16string_view(u"\0", 1)), Bstr(), VARCMP_EQ},
      {"the rest still counts", Text(std::u16string_view(u"abd\0", 4)), Text(u"abc"), VARCMP_GT},
      {"case ignored", Text(u"ack"), Text(u"ACK"), VARCMP_EQ},
      {"width ignored", Text(u"\uFF21\uFF23\uFF2B"), Text(u"ack"), VARCMP_EQ},
      {"a line end still counts", Text(u"ACK\r\n"), Text(u"ACK"), VARCMP_GT},
      {"empty first", Text(u""), Text(u"a"), VARCMP_LT},
  };
  for (LCID lcid : kLocales) {
    for (const CmpCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " in " << std::hex << lcid);
      EXPECT_EQ(VarBstrCmp(c.left.get(), c.right.get(), lcid, kTextCompare), c.expected);
    }
  }
}

TEST(VarBstrCmp, EmbeddedNulsTakePart) {
  Bstr a = Bstr(std::u16string_view(u"a\0b", 3));
  Bstr b = Bstr(std::u16string_view(u"a\0c", 3));
  EXPECT_EQ(VarBstrCmp(a.get(), b.get(), 0x0409, 0), VARCMP_LT);
}

TEST(VarBstrCmp, UnknownLocaleIsAnInvalidArgument) {
  Bstr a(u"a");
  EXPECT_EQ(VarBstrCmp(a.get(), a.get(), 2, 0), E_INVALIDARG);
}

TEST(VarBstrCmp, TheUserDefaultLocaleIsTheUsers) {
  platform::ScopedUserLocale german(0x0407);
  Bstr a(u"stra\u00DFe");
  Bstr b(u"STRASSE");
  EXPECT_EQ(VarBstrCmp(a.get(), b.get(), LOCALE_USER_DEFAULT, kTextCompare), VARCMP_EQ);
  EXPECT_EQ(VarBstrCmp(a.get(), b.get(), 0, kTextCompare), VARCMP_GT);
}

}  // namespace

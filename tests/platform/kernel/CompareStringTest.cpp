#include <gtest/gtest.h>

#include <string_view>

#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace {

constexpr LCID kEnUs = 0x0409;
constexpr DWORD kTextCompare = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;

int compare(std::u16string_view a, std::u16string_view b, DWORD flags = 0, LCID lcid = kEnUs) {
  return CompareStringW(lcid, flags, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size()));
}

struct OrderCase {
  std::u16string_view left;
  std::u16string_view right;
  DWORD flags;
  int expected;
};

class CompareStringOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(CompareStringOrder, OrdersLinguistically) {
  const OrderCase& c = GetParam();
  EXPECT_EQ(compare(c.left, c.right, c.flags), c.expected);
  // The order is antisymmetric.
  EXPECT_EQ(compare(c.right, c.left, c.flags), 4 - c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareStringOrder,
    testing::Values(
        // Letters first, case only breaks ties, lower case first.
        OrderCase{u"apple", u"Banana", 0, CSTR_LESS_THAN}, OrderCase{u"a", u"A", 0, CSTR_LESS_THAN},
        OrderCase{u"ack", u"ACK", 0, CSTR_LESS_THAN},
        OrderCase{u"ack", u"ACK", NORM_IGNORECASE, CSTR_EQUAL},
        OrderCase{u"Ack", u"acl", 0, CSTR_LESS_THAN},
        OrderCase{u"ACK", u"ACK\r\n", kTextCompare, CSTR_LESS_THAN},
        OrderCase{u"", u"a", 0, CSTR_LESS_THAN}, OrderCase{u"", u"", 0, CSTR_EQUAL},
        // Diacritics weigh after the letters.
        OrderCase{u"e", u"\u00E9", 0, CSTR_LESS_THAN},
        OrderCase{u"\u00E9a", u"eb", 0, CSTR_LESS_THAN},
        OrderCase{u"r\u00E9sum\u00E9", u"resume", NORM_IGNORENONSPACE, CSTR_EQUAL},
        OrderCase{u"\u00C9", u"e", NORM_IGNORENONSPACE | NORM_IGNORECASE, CSTR_EQUAL},
        OrderCase{u"\u00E9", u"e\u0301", 0, CSTR_EQUAL},
        OrderCase{u"\u00E4", u"b", 0, CSTR_LESS_THAN},
        OrderCase{u"Stra\u00DFe", u"Strasse", 0, CSTR_EQUAL},
        OrderCase{u"\u00C6on", u"aeon", NORM_IGNORECASE, CSTR_EQUAL},
        // Symbols before digits before letters.
        OrderCase{u"!", u"1", 0, CSTR_LESS_THAN}, OrderCase{u"9", u"a", 0, CSTR_LESS_THAN},
        OrderCase{u"10", u"9", 0, CSTR_LESS_THAN},
        OrderCase{u"a b", u"ab", NORM_IGNORESYMBOLS, CSTR_EQUAL},
        // Hyphens and apostrophes count last in a word sort.
        OrderCase{u"coop", u"co-op", 0, CSTR_LESS_THAN},
        OrderCase{u"co-op", u"cop", 0, CSTR_LESS_THAN},
        OrderCase{u"co-op", u"cop", SORT_STRINGSORT, CSTR_LESS_THAN},
        OrderCase{u"co-op", u"coop", SORT_STRINGSORT, CSTR_LESS_THAN},
        // Width and kana type.
        OrderCase{u"\uFF21\uFF23\uFF2B", u"ACK", 0, CSTR_GREATER_THAN},
        OrderCase{u"\uFF41\uFF43\uFF4B", u"ACK", kTextCompare, CSTR_EQUAL},
        OrderCase{u"\u30AB\u30CA", u"\u304B\u306A", NORM_IGNOREKANATYPE, CSTR_EQUAL},
        OrderCase{u"\u30AB\u30CA", u"\u304B\u306A", 0, CSTR_GREATER_THAN},
        OrderCase{u"\uFF76\uFF85", u"\u30AB\u30CA", NORM_IGNOREWIDTH, CSTR_EQUAL},
        OrderCase{u"\uFF76\uFF85", u"\u304B\u306A", kTextCompare, CSTR_EQUAL},
        // Other scripts fold case too.
        OrderCase{u"\u0394\u0395", u"\u03B4\u03B5", NORM_IGNORECASE, CSTR_EQUAL},
        OrderCase{u"\u0416", u"\u0436", NORM_IGNORECASE, CSTR_EQUAL},
        OrderCase{u"z", u"\u03B1", 0, CSTR_LESS_THAN}));

TEST(CompareString, TerminatedAndCountedLengths) {
  EXPECT_EQ(CompareStringW(kEnUs, 0, u"abc", -1, u"abc", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(kEnUs, 0, u"abcdef", 3, u"abc", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(kEnUs, 0, u"abc", 2, u"abc", 3), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringW(kEnUs, 0, u"b", 0, u"a", 0), CSTR_EQUAL);
}

TEST(CompareString, DefaultLocalesAreAccepted) {
  for (LCID lcid : {LCID{0}, LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT, LOCALE_INVARIANT,
                    LCID{0x0407}, LCID{0x040C}}) {
    EXPECT_EQ(compare(u"A", u"A", 0, lcid), CSTR_EQUAL) << lcid;
  }
}

struct BadCall {
  LCID lcid;
  DWORD flags;
  const char16_t* left;
  int leftLength;
  const char16_t* right;
  DWORD error;
};

class CompareStringRejects : public testing::TestWithParam<BadCall> {};

TEST_P(CompareStringRejects, FailsWithTheDocumentedError) {
  const BadCall& c = GetParam();
  SetLastError(0);
  EXPECT_EQ(CompareStringW(c.lcid, c.flags, c.left, c.leftLength, c.right, -1), 0);
  EXPECT_EQ(GetLastError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareStringRejects,
    testing::Values(BadCall{kEnUs, 0x40000000, u"a", -1, u"a", ERROR_INVALID_FLAGS},
                    BadCall{kEnUs, 0x100, u"a", -1, u"a", ERROR_INVALID_FLAGS},
                    BadCall{kEnUs, 0, nullptr, -1, u"a", ERROR_INVALID_PARAMETER},
                    BadCall{kEnUs, 0, u"a", -1, nullptr, ERROR_INVALID_PARAMETER},
                    BadCall{kEnUs, 0, u"a", -2, u"a", ERROR_INVALID_PARAMETER},
                    BadCall{2, 0, u"A", -1, u"A", ERROR_INVALID_PARAMETER},
                    BadCall{0x0499, 0, u"A", -1, u"A", ERROR_INVALID_PARAMETER}));

}  // namespace

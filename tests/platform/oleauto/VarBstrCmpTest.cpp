#include <gtest/gtest.h>

#include "platform/kernel.h"
#include "platform/locale.h"
#include "platform/oleauto.h"

namespace {

constexpr ULONG kTextCompare = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;

struct CmpCase {
  const char16_t* left;  // null stands for a null BSTR
  const char16_t* right;
  ULONG flags;
  HRESULT expected;
};

class VarBstrCmpCases : public testing::TestWithParam<CmpCase> {};

TEST_P(VarBstrCmpCases, ComparesLikeTheReplyClassifier) {
  const CmpCase& c = GetParam();
  Bstr left(c.left);
  Bstr right(c.right);
  EXPECT_EQ(VarBstrCmp(left.get(), right.get(), 0, c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VarBstrCmpCases,
    testing::Values(CmpCase{u"ack", u"ACK", kTextCompare, VARCMP_EQ},
                    CmpCase{u"Ack", u"ACK", kTextCompare, VARCMP_EQ},
                    CmpCase{u"ACK\r\n", u"ACK", kTextCompare, VARCMP_GT},
                    CmpCase{u"NAK", u"ACK", kTextCompare, VARCMP_GT},
                    CmpCase{u"ack", u"ACK", 0, VARCMP_LT},
                    CmpCase{u"\uFF21\uFF23\uFF2B", u"ack", kTextCompare, VARCMP_EQ},
                    CmpCase{nullptr, u"", 0, VARCMP_EQ}, CmpCase{nullptr, nullptr, 0, VARCMP_EQ},
                    CmpCase{nullptr, u"a", 0, VARCMP_LT}, CmpCase{u"a", nullptr, 0, VARCMP_GT}));

TEST(VarBstrCmp, EmbeddedNulsTakePart) {
  Bstr a = Bstr(std::u16string_view(u"a\0b", 3));
  Bstr b = Bstr(std::u16string_view(u"a\0c", 3));
  EXPECT_EQ(VarBstrCmp(a.get(), b.get(), 0x0409, 0), VARCMP_LT);
}

TEST(VarBstrCmp, UnknownLocaleIsAnInvalidArgument) {
  Bstr a(u"a");
  EXPECT_EQ(VarBstrCmp(a.get(), a.get(), 2, 0), E_INVALIDARG);
}

TEST(VarBstrCmp, LocaleZeroIsTheUserLocale) {
  platform::ScopedUserLocale german(0x0407);
  Bstr a(u"stra\u00DFe");
  Bstr b(u"STRASSE");
  EXPECT_EQ(VarBstrCmp(a.get(), b.get(), 0, kTextCompare), VARCMP_EQ);
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/oleauto.h"

namespace {

TEST(Bstr, LengthsCountEmbeddedNuls) {
  const OLECHAR text[] = {u'a', 0, u'b', 0, u'c'};
  Bstr s = Bstr::Adopt(SysAllocStringLen(text, 5));
  ASSERT_NE(s.get(), nullptr);
  EXPECT_EQ(SysStringLen(s.get()), 5u);
  EXPECT_EQ(SysStringByteLen(s.get()), 10u);
  EXPECT_EQ(s.get()[5], 0);  // terminated after the last character
  EXPECT_EQ(s.view(), std::u16string_view(text, 5));
}

TEST(Bstr, NullIsTheEmptyText) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);
  Bstr empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.view(), u"");
}

TEST(Bstr, ByteLengthKeepsOddSizes) {
  Bstr s = Bstr::Adopt(SysAllocStringByteLen("abc", 3));
  EXPECT_EQ(SysStringByteLen(s.get()), 3u);
  EXPECT_EQ(SysStringLen(s.get()), 1u);
  EXPECT_EQ(reinterpret_cast<const char*>(s.get())[3], 0);
}

TEST(Bstr, ReAllocReplacesTheText) {
  BSTR s = SysAllocString(u"first");
  ASSERT_TRUE(SysReAllocString(&s, u"second text"));
  EXPECT_EQ(std::u16string_view(s, SysStringLen(s)), u"second text");
  ASSERT_TRUE(SysReAllocStringLen(&s, u"xyz", 2));
  EXPECT_EQ(std::u16string_view(s, SysStringLen(s)), u"xy");
  SysFreeString(s);
}

TEST(Bstr, TooLongFailsCleanly) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFF), nullptr);
}

}  // namespace

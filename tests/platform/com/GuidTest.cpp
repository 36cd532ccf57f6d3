#include <gtest/gtest.h>

#include "platform/com.h"

namespace {

constexpr CLSID kSocketClass{
    0x248DD896, 0xBB45, 0x11CF, {0x9A, 0xBC, 0x00, 0x80, 0xC7, 0xE7, 0xB7, 0x8D}};

TEST(Guid, RegistryFormRoundTrips) {
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(kSocketClass, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{248DD896-BB45-11CF-9ABC-0080C7E7B78D}");
  IID parsed{};
  ASSERT_EQ(IIDFromString(u"{248dd896-bb45-11cf-9abc-0080c7e7b78d}", &parsed), S_OK);
  EXPECT_EQ(parsed, kSocketClass);
}

TEST(Guid, MalformedTextIsRefused) {
  IID out{};
  for (const char16_t* bad :
       {u"", u"{248DD896-BB45-11CF-9ABC-0080C7E7B78D", u"248DD896",
        u"{248DD896-BB45-11CF-9ABC-0080C7E7B78DX}", u"{248DD89G-BB45-11CF-9ABC-0080C7E7B78D}",
        u"{248DD896+BB45-11CF-9ABC-0080C7E7B78D}"}) {
    EXPECT_EQ(IIDFromString(bad, &out), CO_E_CLASSSTRING) << std::u16string(bad).size();
  }
  EXPECT_EQ(StringFromGUID2(kSocketClass, nullptr, 39), 0);
  OLECHAR small[38];
  EXPECT_EQ(StringFromGUID2(kSocketClass, small, 38), 0);
}

}  // namespace

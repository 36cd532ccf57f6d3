#include "runtime/core/ErrorNumbers.h"

#include <gtest/gtest.h>

#include "runtime/core/Status.h"

namespace rt {
namespace {

TEST(MapStatusToNumber, MapsWellKnownStatuses) {
  struct Case {
    HRESULT status;
    int number;
  } cases[] = {
      {DISP_E_TYPEMISMATCH, 13},
      {DISP_E_MEMBERNOTFOUND, 438},
      {DISP_E_BADVARTYPE, 458},
      {DISP_E_OVERFLOW, 6},
      {DISP_E_PARAMNOTFOUND, 448},
      {DISP_E_DIVBYZERO, 11},
      {E_INVALIDARG, 5},
      {ErrorStatus(11), 11},
      {ErrorStatus(380), 380},
      {static_cast<HRESULT>(0x800AFFFF), 65535},
      {E_FAIL, -2147467259},
      {DISP_E_UNKNOWNNAME, static_cast<int>(0x80020006)},  // other dispatch statuses stay
      {E_ACCESSDENIED, static_cast<int>(0x80070005)},      // other 0x8007 statuses stay
      {StatusTerminate, -353703421},
      {42, 42},
      {0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MapStatusToNumber(c.status), c.number) << std::hex << c.status;
}

TEST(MapStatusToNumber, DeliversTableTextOrDefault) {
  const char16_t* text = nullptr;
  MapStatusToNumber(ErrorStatus(11), &text);
  EXPECT_EQ(std::u16string(text), u"Division by zero");

  MapStatusToNumber(12, &text);  // a gap, non-negative status
  EXPECT_EQ(std::u16string(text), u"Application-defined or object-defined error");

  MapStatusToNumber(E_FAIL, &text);  // negative, no table text
  EXPECT_EQ(text, nullptr);
  MapStatusToNumber(E_FAIL, &text, true);
  EXPECT_EQ(std::u16string(text), u"Application-defined or object-defined error");
}

TEST(StoredNumber, KeepsLowBitsOnlyForControlFacility) {
  EXPECT_EQ(StoredNumber(0x000A0005), 5);
  EXPECT_EQ(StoredNumber(-2147467259), -2147467259);
  EXPECT_EQ(StoredNumber(13), 13);
}

TEST(DefaultDescription, FallsBackInOrder) {
  EXPECT_EQ(DefaultDescription(11).view(), u"Division by zero");
  EXPECT_EQ(DefaultDescription(747).view(), u"Application-defined or object-defined error");
  EXPECT_EQ(DefaultDescription(0).view(), u"Application-defined or object-defined error");
  // A negative number takes the system's text, and the default when there is none.
  EXPECT_EQ(DefaultDescription(static_cast<int>(0x80070005)).view(), u"Access is denied.");
  EXPECT_EQ(DefaultDescription(static_cast<int>(0xA1B2C3D4)).view(),
            u"Application-defined or object-defined error");
}

TEST(SystemMessageText, DropsTheLineEndAndUsesFacilityEightLowBits) {
  EXPECT_EQ(SystemMessageText(E_FAIL).view(), u"Unspecified error");
  EXPECT_EQ(SystemMessageText(static_cast<HRESULT>(0x80070002)).view(),
            u"The system cannot find the file specified.");
  EXPECT_EQ(SystemMessageText(static_cast<HRESULT>(0xA1B2C3D4)).get(), nullptr);
}

}  // namespace
}  // namespace rt

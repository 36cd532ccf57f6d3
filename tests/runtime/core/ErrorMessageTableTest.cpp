#include "runtime/core/ErrorMessageTable.h"

#include <gtest/gtest.h>

#include <string>

namespace rt {
namespace {

TEST(ErrorMessageTable, NumbersCarryTheirMessages) {
  struct Case {
    int number;
    const char16_t* text;
  } cases[] = {
      {3, u"Return without GoSub"},
      {5, u"Invalid procedure call or argument"},
      {6, u"Overflow"},
      {11, u"Division by zero"},
      {13, u"Type mismatch"},
      {52, u"Bad file name or number"},
      {91, u"Object variable or With block variable not set"},
      {94, u"Invalid use of Null"},
      {380, u"Invalid property value"},
      {440, u"Automation error"},
      {458, u"Variable uses an Automation type not supported in Quorell"},
      {482, u"Printer error"},
      {735, u"Can't save file to TEMP"},
      {744, u"Search text not found"},
      {746, u"Replacements too long"},
  };
  for (const Case& c : cases) {
    const char16_t* text = ErrorMessage(c.number);
    ASSERT_NE(text, nullptr) << c.number;
    EXPECT_EQ(std::u16string(text), c.text) << c.number;
  }
}

TEST(ErrorMessageTable, GapsAndOutOfRangeHaveNoText) {
  for (int number : {-1, 0, 1, 2, 4, 8, 12, 15, 19, 100, 320, 745, 747, 1000, 65535}) {
    EXPECT_EQ(ErrorMessage(number), nullptr) << number;
  }
}

TEST(ErrorMessageTable, HoldsEightySevenMessages) {
  int present = 0;
  for (int n = 0; n < kErrorMessageCount; ++n)
    present += ErrorMessage(n) != nullptr;
  EXPECT_EQ(present, 87);
  EXPECT_EQ(BuildErrorMessageTable(), S_OK);  // building again changes nothing
}

}  // namespace
}  // namespace rt

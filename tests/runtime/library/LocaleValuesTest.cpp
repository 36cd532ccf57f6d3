#include "runtime/library/LocaleValues.h"

#include <gtest/gtest.h>

#include "LibraryTestSupport.h"

namespace rt {
namespace {

using testing::ScopedLocaleValues;

TEST(LocaleValues, FollowTheUserLocale) {
  struct Case {
    LCID lcid;
    char16_t decimal;
    int firstDay;
    int firstWeek;
  } cases[] = {
      {0x0409, u'.', 1, 1},  // Sunday; the week of 1 January
      {0x0407, u',', 2, 2},  // Monday; the first week with four days
      {0x040C, u',', 2, 2},
  };
  for (const Case& c : cases) {
    ScopedLocaleValues locale(c.lcid);
    EXPECT_EQ(DecimalSeparator(), c.decimal) << c.lcid;
    EXPECT_EQ(FirstDayOfWeek(), c.firstDay) << c.lcid;
    EXPECT_EQ(FirstWeekOfYear(), c.firstWeek) << c.lcid;
  }
}

}  // namespace
}  // namespace rt

#include <gtest/gtest.h>

#include <climits>

#include "platform/kernel.h"

namespace {

struct MulDivCase {
  int number, numerator, denominator, expected;
};

TEST(MulDiv, RoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit) {
  const MulDivCase cases[] = {
      {11, 144, 96, 17},                     // 16.5 rounds up
      {-11, 144, 96, -17},                   // and down below zero
      {11, 120, 96, 14},                     // 13.75
      {12, 96, 96, 12},                      // 96 dots per inch changes nothing
      {7, 1, 2, 4},                          // 3.5
      {7, -1, 2, -4},                        // a negative denominator side
      {5, 3, -2, -8},                        // -7.5
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 64 bits
      {INT_MAX, 2, 1, -1},                   // overflow
      {1, 1, 0, -1},                         // division by zero
      {0, 5, 7, 0},
  };
  for (const MulDivCase& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

}  // namespace

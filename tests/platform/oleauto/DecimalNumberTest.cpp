#include "internal/DecimalNumber.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::internal::DecimalNumber;

// The C library's "%.*e" of the magnitude, the reference for correctly
// rounded digits: the digits without trailing zeros and the position of the
// point (1 for 1.5, 0 for 0.5).
struct Printed {
  std::string digits;
  int point = 0;
};

Printed PrintedDigits(double value, int significantDigits) {
  char text[512];
  std::snprintf(text, sizeof text, "%.*e", significantDigits - 1, std::fabs(value));
  Printed printed;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.') printed.digits.push_back(*p);
  }
  printed.point = std::atoi(p + 1) + 1;
  printed.digits.erase(printed.digits.find_last_not_of('0') + 1);
  return printed;
}

double FromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Checks every value (not zero, finite) at each precision and reports the
// first few differences only.
void ExpectAsPrinted(const std::vector<double>& values, std::initializer_list<int> precisions) {
  int failures = 0;
  for (double value : values) {
    for (int precision : precisions) {
      const DecimalNumber number = DecimalNumber::FromDouble(value, precision);
      const Printed printed = PrintedDigits(value, precision);
      if (number.significantDigits() == printed.digits && number.pointPosition() == printed.point &&
          number.negative() == (value < 0)) {
        continue;
      }
      ADD_FAILURE() << std::hexfloat << value << std::defaultfloat << " (" << value << ") to "
                    << precision << " digits: " << number.significantDigits() << " point "
                    << number.pointPosition() << ", printed " << printed.digits << " point "
                    << printed.point;
      if (++failures == 10) return;
    }
  }
}

TEST(DecimalNumberFromDouble, RandomBitPatternsRoundAsPrinted) {
  std::mt19937_64 random(20261207);
  std::vector<double> values;
  while (values.size() < 20000) {
    const double value = FromBits(random());
    if (std::isfinite(value) && value != 0) values.push_back(value);
  }
  ExpectAsPrinted(values, {15, 7});
}

TEST(DecimalNumberFromDouble, ShortDecimalsRoundAsPrinted) {
  // Values written with few digits: the common case, and the one the digits
  // are found quickly for.
  std::mt19937_64 random(7);
  std::vector<double> values;
  for (int i = 0; i < 20000; ++i) {
    const auto mantissa = static_cast<double>(random() % 1'000'000'000'000'000);
    const int power = static_cast<int>(random() % 60) - 30;
    const double value = mantissa * std::pow(10.0, power);
    if (value != 0) values.push_back(i % 2 ? -value : value);
  }
  for (int milliseconds = 1; milliseconds < 100'000; milliseconds += 7)
    values.push_back(milliseconds / 1000.0);
  ExpectAsPrinted(values, {15, 7});
}

TEST(DecimalNumberFromDouble, ExactTiesRoundHalfToEven) {
  // Integers of 16 digits ending in 5 are doubles exactly halfway between
  // two numbers of 15 digits.
  std::mt19937_64 random(11);
  std::vector<double> values;
  for (int i = 0; i < 2000; ++i) {
    const uint64_t tens = 100'000'000'000'000 + random() % 800'000'000'000'000;
    values.push_back(static_cast<double>(tens * 10 + 5));
  }
  // 0.125 to two digits, 2.5 to one: halfway as well.
  for (double value : {0.125, 0.375, 2.5, 3.5, 0.5, 1.5, 1e23, 5e-324}) {
    values.push_back(value);
  }
  ExpectAsPrinted(values, {15, 7, 2, 1});
}

TEST(DecimalNumberFromDouble, DenormalsAndExtremesRoundAsPrinted) {
  std::mt19937_64 random(3);
  std::vector<double> values = {DBL_TRUE_MIN,
                                DBL_MIN,
                                DBL_MAX,
                                -DBL_MAX,
                                DBL_MIN / 3,
                                1e-308,
                                1e308,
                                1e22,
                                1e23,
                                9.999999999999999e22,
                                999999999999999.9,
                                999999999999999.4,
                                99999999999999.99,
                                0.1,
                                0.2,
                                0.3};
  for (int i = 0; i < 2000; ++i) {
    values.push_back(FromBits(random() & 0x800F'FFFF'FFFF'FFFF));  // a denormal of either sign
  }
  for (int power = -330; power <= 308; ++power) {
    const double value = std::pow(10.0, power);
    if (value == 0 || std::isinf(value)) continue;
    values.push_back(value);
    values.push_back(std::nextafter(value, 0.0));
    values.push_back(std::nextafter(value, std::numeric_limits<double>::infinity()));
  }
  values.erase(std::remove(values.begin(), values.end(), 0.0), values.end());
  ExpectAsPrinted(values, {15, 7, 16, 17, 40});
}

TEST(DecimalNumberFromDouble, ZeroAndNonFiniteValuesAreZero) {
  const double kInfinity = std::numeric_limits<double>::infinity();
  for (double value :
       {0.0, -0.0, kInfinity, -kInfinity, std::numeric_limits<double>::quiet_NaN()}) {
    const DecimalNumber number = DecimalNumber::FromDouble(value, 15);
    EXPECT_TRUE(number.isZero()) << value;
    EXPECT_FALSE(number.negative()) << value;
    EXPECT_EQ(number.pointPosition(), 0) << value;
  }
}

TEST(DecimalNumberFromDouble, DigitsReadBackAtEveryPosition) {
  // 1234.5: "12345" with the point after the fourth digit.
  const DecimalNumber number = DecimalNumber::FromDouble(-1234.5, 15);
  EXPECT_TRUE(number.negative());
  EXPECT_EQ(number.significantDigits(), "12345");
  EXPECT_EQ(number.pointPosition(), 4);
  const std::string expected = "0012345000";
  for (int position = -2; position < 8; ++position) {
    EXPECT_EQ(number.DigitAt(position), expected[static_cast<size_t>(position + 2)]) << position;
  }
}

}  // namespace

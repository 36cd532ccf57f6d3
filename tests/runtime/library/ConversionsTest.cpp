#include "runtime/library/Conversions.h"

#include <gtest/gtest.h>

#include "LibraryTestSupport.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

using testing::ObjectVariant;
using testing::ScopedLocaleValues;

TEST(ToLong, RoundsHalfToEvenAndReportsOverflow) {
  ScopedLocaleValues english(0x0409);
  struct Case {
    Variant value;
    HRESULT status;
    LONG result;
  } cases[] = {
      {Variant::R8(2.5), S_OK, 2},
      {Variant::R8(3.5), S_OK, 4},
      {Variant::R8(-2.5), S_OK, -2},
      {Variant::R8(-3.5), S_OK, -4},
      {Variant::R8(2147483647.4), S_OK, INT32_MAX},
      {Variant::R8(2147483647.5), DISP_E_OVERFLOW, 0},
      {Variant::R8(-2147483648.5), S_OK, INT32_MIN},
      {Variant::R8(-2147483649.0), DISP_E_OVERFLOW, 0},
      {Variant::R8(2147483647.0), S_OK, INT32_MAX},
      {Variant::R8(-2147483648.0), S_OK, INT32_MIN},
      {Variant::R8(2147483648.0), DISP_E_OVERFLOW, 0},
      {Variant::R8(-0.0), S_OK, 0},
      {Variant::Str(u" 500 "), S_OK, 500},
      {Variant::Str(u"1e3"), S_OK, 1000},
      {Variant::Str(u"12abc"), DISP_E_TYPEMISMATCH, 0},
      {Variant::Bool(true), S_OK, -1},
      {Variant(), S_OK, 0},
      {Variant::Null(), ErrorStatus(94), 0},
      {ObjectVariant(nullptr), ErrorStatus(91), 0},
  };
  for (const Case& c : cases) {
    LONG result = -99;
    EXPECT_EQ(ToLong(c.value, 0, &result), c.status) << c.value.vt;
    EXPECT_EQ(result, c.result) << c.value.vt;
  }
}

TEST(ToDouble, ConvertsUnderTheUserLocale) {
  struct Case {
    LCID lcid;
    Variant value;
    HRESULT status;
    double result;
  } cases[] = {
      {0x0409, Variant::Str(u"2.5"), S_OK, 2.5},
      {0x0407, Variant::Str(u"2,5"), S_OK, 2.5},
      {0x0409, Variant::I4(-7), S_OK, -7},
      {0x0409, Variant::Str(u"x"), DISP_E_TYPEMISMATCH, 0},
  };
  for (const Case& c : cases) {
    ScopedLocaleValues locale(c.lcid);
    double result = -99;
    EXPECT_EQ(ToDouble(c.value, 0, &result), c.status);
    EXPECT_DOUBLE_EQ(result, c.result);
  }
}

}  // namespace
}  // namespace rt

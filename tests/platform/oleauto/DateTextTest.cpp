#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/oleauto.h"

namespace {

constexpr LCID kEnglishUS = 0x0409;
constexpr LCID kEnglishUK = 0x0809;
constexpr LCID kGerman = 0x0407;

std::u16string DateText(DATE date, LCID lcid = kEnglishUS, ULONG flags = 0) {
  BSTR out = nullptr;
  HRESULT hr = VarBstrFromDate(date, lcid, flags, &out);
  if (FAILED(hr)) return u"<failed>";
  return std::u16string(Bstr::Adopt(out).view());
}

struct DateCase {
  DATE date;
  LCID lcid;
  const char16_t* text;
};

TEST(DateText, ShortDateAndTimeOfTheLocale) {
  const DateCase cases[] = {
      {0.0, kEnglishUS, u"12:00:00 AM"},  // day 0 at midnight: the time alone
      {0.5, kEnglishUS, u"12:00:00 PM"},
      {0.75, kEnglishUS, u"6:00:00 PM"},
      {1.0, kEnglishUS, u"12/31/1899"},
      {2.0, kEnglishUS, u"1/1/1900"},
      {36526.0, kEnglishUS, u"1/1/2000"},
      {36526.25, kEnglishUS, u"1/1/2000 6:00:00 AM"},
      {-1.25, kEnglishUS, u"12/29/1899 6:00:00 AM"},
      {-657434.0, kEnglishUS, u"1/1/100"},
      {2958465.0, kEnglishUS, u"12/31/9999"},
      {36526.0 + 1.0 / 86400.0, kEnglishUS, u"1/1/2000 12:00:01 AM"},
      {36526.999999999, kEnglishUS, u"1/2/2000"},  // rounds to the next midnight
      {36526.5, kGerman, u"01.01.2000 12:00:00"},
      {0.25, kGerman, u"06:00:00"},
      {36557.0, kEnglishUK, u"01/02/2000"},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(DateText(c.date, c.lcid), c.text);
  }
  EXPECT_EQ(DateText(36526.25, kEnglishUS, VAR_DATEVALUEONLY), u"1/1/2000");
  EXPECT_EQ(DateText(36526.25, kEnglishUS, VAR_TIMEVALUEONLY), u"6:00:00 AM");
  EXPECT_EQ(DateText(-657435.0), u"<failed>");
  EXPECT_EQ(DateText(2958466.0), u"<failed>");
  EXPECT_EQ(DateText(NAN), u"<failed>");
}

struct ParseCase {
  const char16_t* text;
  LCID lcid;
  HRESULT hr;
  DATE date;
};

TEST(DateText, CommonFormsAreRead) {
  const ParseCase cases[] = {
      {u"1/1/2000", kEnglishUS, S_OK, 36526.0},
      {u"12/31/1899", kEnglishUS, S_OK, 1.0},
      {u"2000-01-02", kEnglishUS, S_OK, 36527.0},
      {u"1/2/2000", kEnglishUK, S_OK, 36557.0},
      {u"02.01.2000", kGerman, S_OK, 36527.0},
      {u"13/1/2000", kEnglishUS, S_OK, 36538.0},  // impossible as M/d: read as d/M
      {u"1/1/99", kEnglishUS, S_OK, 36161.0},
      {u"1/1/29", kEnglishUS, S_OK, 47119.0},
      {u"January 2, 2000", kEnglishUS, S_OK, 36527.0},
      {u"2 Jan 2000", kEnglishUS, S_OK, 36527.0},
      {u"2. Januar 2000", kGerman, S_OK, 36527.0},
      {u"1 f\u00E9vrier 2000", 0x040C, S_OK, 36557.0},
      {u"12:00", kEnglishUS, S_OK, 0.5},
      {u"6:00:00 PM", kEnglishUS, S_OK, 0.75},
      {u"12:00:00 AM", kEnglishUS, S_OK, 0.0},
      {u"6 am", kEnglishUS, S_OK, 0.25},
      {u"1/1/2000 6:00", kEnglishUS, S_OK, 36526.25},
      {u"12/29/1899 6:00", kEnglishUS, S_OK, -1.25},
      {u"2/30/2000", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"25:00", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"hello", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"1/2/3/4", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"13 PM", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
      {u"1/1/99999", kEnglishUS, DISP_E_TYPEMISMATCH, 0},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    DATE date = -1;
    ASSERT_EQ(VarDateFromStr(c.text, c.lcid, 0, &date), c.hr);
    if (c.hr == S_OK) {
      EXPECT_DOUBLE_EQ(date, c.date);
    }
  }
}

TEST(DateText, DatesSurviveTheRoundTrip) {
  for (DATE date : {36526.0, 36526.75, 1.5, -400.25, 2958465.5}) {
    SCOPED_TRACE(date);
    const std::u16string text = DateText(date);
    DATE back = 0;
    ASSERT_EQ(VarDateFromStr(text.c_str(), kEnglishUS, 0, &back), S_OK);
    EXPECT_DOUBLE_EQ(back, date);
  }
}

}  // namespace

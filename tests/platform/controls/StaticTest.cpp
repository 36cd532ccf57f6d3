#include "internal/StaticControl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

using platform::internal::StaticControl;
using ::testing::ElementsAre;
using Statics = ControlTest;

TEST(StaticFormat, TextStylesMapToDrawTextFormats) {
  struct Case {
    DWORD style;
    UINT format;
  };
  const Case cases[] = {
      {SS_LEFT, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS},
      {SS_CENTER, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS},
      {SS_RIGHT, DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS},
      {SS_LEFTNOWORDWRAP, DT_LEFT | DT_EXPANDTABS},
      {SS_SIMPLE, DT_LEFT | DT_SINGLELINE},
      {SS_LEFT | SS_NOPREFIX, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX},
      {SS_CENTER | SS_CENTERIMAGE, DT_CENTER | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER},
      {SS_LEFT | SS_ENDELLIPSIS, DT_LEFT | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_SINGLELINE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StaticControl::textFormat(c.style), c.format) << c.style;
}

TEST_F(Statics, SetTextRepaintsWithTheNewText) {
  HWND label = control(u"STATIC", u"", SS_LEFT, {10, 10, 110, 30});
  EXPECT_EQ(clientPixel(label, 4, 8), GetSysColor(COLOR_BTNFACE));
  SetWindowTextW(label, u"\x2588\x2588");
  pump();
  EXPECT_EQ(clientPixel(label, 4, 8), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(Statics, CentredAndRightAlignedTextSitsWhereItSays) {
  HWND centred = control(u"STATIC", u"\x2588", SS_CENTER, {10, 10, 110, 30});
  HWND right = control(u"STATIC", u"\x2588", SS_RIGHT, {10, 40, 110, 60});
  EXPECT_EQ(clientPixel(centred, 50, 8), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(clientPixel(centred, 3, 8), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(clientPixel(right, 97, 8), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(Statics, EtchedLineAndFilledRectangles) {
  HWND line = control(u"STATIC", u"", SS_ETCHEDHORZ, {10, 10, 110, 12});
  HWND black = control(u"STATIC", u"", SS_BLACKRECT, {10, 20, 30, 40});
  EXPECT_EQ(clientPixel(line, 50, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(clientPixel(line, 50, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(clientPixel(black, 5, 5), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(Statics, NotifyingStaticReportsDoubleClicksAndEnabling) {
  HWND label = control(u"STATIC", u"Click", SS_LEFT | SS_NOTIFY, {10, 10, 110, 30});
  click(label);
  clock_.advance(100);
  click(label);
  EnableWindow(label, FALSE);
  EXPECT_THAT(codesFrom(label), ElementsAre(STN_CLICKED, STN_DBLCLK, STN_DISABLE));
}

TEST_F(Statics, OwnerDrawnStaticAsksItsParent) {
  HWND label = control(u"STATIC", u"", SS_OWNERDRAW, {10, 10, 110, 30}, 12);
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(parentLog().drawItems.empty());
  EXPECT_EQ(parentLog().drawItems.back().CtlType, ODT_STATIC);
  EXPECT_EQ(parentLog().drawItems.back().CtlID, 12u);
}

}  // namespace
}  // namespace controls_test

#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "platform/user.h"

namespace {

TEST(MessageBox, RecordsAndAnswersWithTheDefaultButton) {
  platform::ScopedMessageBoxPolicy scope;
  EXPECT_EQ(MessageBoxW(nullptr, u"text", u"caption", MB_OK | MB_ICONWARNING), IDOK);
  EXPECT_EQ(MessageBoxW(nullptr, u"q", u"c", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  auto boxes = scope.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, u"text");
  EXPECT_EQ(boxes[0].caption, u"caption");
  EXPECT_EQ(boxes[0].style, MB_OK | MB_ICONWARNING);
}

int g_helpCalls = 0;
void countHelp(LPHELPINFO) {
  ++g_helpCalls;
}

TEST(MessageBox, PolicyCanPressHelp) {
  platform::ScopedMessageBoxPolicy scope(
      [](const platform::MessageBoxRecord&, const platform::MessageBoxActions& actions) {
        actions.pressHelp();
        return IDCANCEL;
      });
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof(params);
  params.lpszText = u"t";
  params.dwStyle = MB_OKCANCEL | MB_HELP;
  params.lpfnMsgBoxCallback = countHelp;
  g_helpCalls = 0;
  EXPECT_EQ(MessageBoxIndirectW(&params), IDCANCEL);
  EXPECT_EQ(g_helpCalls, 1);
  EXPECT_EQ(MessageBoxIndirectW(nullptr), 0);
  EXPECT_FALSE(WinHelpW(nullptr, u"x.hlp", HELP_FINDER, 0));
}

}  // namespace

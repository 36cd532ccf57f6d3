// Form1's tooltips as the design gives them: resting the mouse over a
// control shows its text in the engine's bubble; a control without one,
// or a disabled one, shows none.
#include <gtest/gtest.h>

#include "Form1TestSupport.h"
#include "platform/clock.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/MessagePump.h"

namespace skiffwire::testing {
namespace {

TEST(Form1ToolTips, RestingOverAControlShowsItsDesignText) {
  OnFreshThread([] {
    platform::ScopedVirtualClock clock(1000);
    TestApp app;
    app.ui.load();
    auto restOver = [&](HWND hwnd) -> std::u16string {
      RECT rect{};
      GetWindowRect(hwnd, &rect);
      app.ui.display->moveMouse(rect.left + 5, rect.top + 5);
      PumpPending();
      clock.advance(800);
      for (int i = 0; i < 4; ++i)
        rt::Yield();
      HWND bubble = rt::CurrentEngineContext().bubbleWindow;
      if (!bubble || !IsWindowVisible(bubble)) return {};
      char16_t text[256] = {};
      GetWindowTextW(bubble, text, 256);
      return text;
    };
    const struct {
      const TextBoxDriver* box;
      const ButtonDriver* button;
      std::u16string_view text;
    } cases[] = {
        {nullptr, app.ui.cmdConnect.get(), u"Connect/Disconnect the IP/Port as entered"},
        {app.ui.txtTestString.get(), nullptr, u"String to send for UDP connection test"},
        {app.ui.txtWaitState.get(), nullptr, u"Delay in mS between Datagram transmission"},
        {nullptr, app.ui.cmdClearDatagram.get(), u"Clear the datagram entry text box"},
        // Disabled until connected: its window gets no mouse, so no bubble.
        {nullptr, app.ui.cmdSendDataGram.get(), u""},
        {app.ui.txtProcess.get(), nullptr, u""},  // the log has none
        {nullptr, app.ui.cmdSaveSettings.get(),
         u"Save all settings to file, including IP Address and port number"},
    };
    for (const auto& c : cases) {
      const HWND hwnd = c.box ? c.box->hwnd() : c.button->hwnd();
      EXPECT_EQ(Utf8(restOver(hwnd)), Utf8(c.text));
    }
  });
}

}  // namespace
}  // namespace skiffwire::testing

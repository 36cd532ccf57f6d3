// Connection set-up: the address and port checks, binding, the state shown,
// and the messages of each refusal.
#include <gtest/gtest.h>

#include "Form1TestSupport.h"

namespace skiffwire::testing {
namespace {

constexpr std::u16string_view kNoSettings =
    u"Setting file error: Settings file not found, using defaults...";

// Loads the form, enters address and port, presses Connect; returns the boxes
// shown after the load.
std::vector<std::u16string> Connect(TestApp& app, std::u16string_view address,
                                    std::u16string_view port) {
  app.ui.load();
  app.ui.txtIpAddress->type(address);
  app.ui.txtPort->type(port);
  app.ui.cmdConnect->click();
  std::vector<std::u16string> boxes = app.boxTexts();
  if (!boxes.empty() && boxes.front() == kNoSettings) boxes.erase(boxes.begin());
  return boxes;
}

void ExpectDisconnected(TestApp& app) {
  EXPECT_EQ(app.ui.cmdConnect->caption(), u"Connect");
  EXPECT_EQ(app.ui.shpConnected->fillColor(), 0x0000FFu);
  EXPECT_TRUE(app.ui.txtIpAddress->enabled());
  EXPECT_TRUE(app.ui.txtPort->enabled());
  EXPECT_FALSE(app.ui.cmdClear->enabled());
  EXPECT_FALSE(app.ui.cmdString->enabled());
  EXPECT_FALSE(app.ui.cmdSendDataGram->enabled());
  EXPECT_TRUE(app.ui.cmdSaveSettings->enabled());
  EXPECT_TRUE(app.ui.cmdClearDatagram->enabled());
}

void ExpectConnected(TestApp& app) {
  EXPECT_EQ(app.ui.cmdConnect->caption(), u"Disconnect");
  EXPECT_EQ(app.ui.shpConnected->fillColor(), 0x00FF00u);
  EXPECT_FALSE(app.ui.txtIpAddress->enabled());
  EXPECT_FALSE(app.ui.txtPort->enabled());
  EXPECT_TRUE(app.ui.cmdClear->enabled());
  EXPECT_TRUE(app.ui.cmdString->enabled());
  EXPECT_TRUE(app.ui.cmdSendDataGram->enabled());
}

TEST(Connection, TheFormLoadsDisconnected) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    EXPECT_EQ(app.ui.form->caption(), u"Skiffwire Ver1.0a");
    EXPECT_EQ(app.boxTexts(), std::vector<std::u16string>{std::u16string(kNoSettings)});
    ExpectDisconnected(app);
    // The design's texts are kept.
    EXPECT_EQ(app.ui.txtIpAddress->text(), u"127.0.0.1");
    EXPECT_EQ(app.ui.txtPort->text(), u"8888");
    EXPECT_EQ(app.ui.txtClearString->text(), u"clear");
    EXPECT_EQ(app.ui.txtTestString->text(), u"Hello World!");
    EXPECT_EQ(app.ui.txtWaitState->text(), u"1");
    EXPECT_EQ(app.ui.txtPacketLen->text(), u"128");
    EXPECT_EQ(app.ui.txtTimeOut->text(), u"5000");
    EXPECT_EQ(app.ui.txtRetry->text(), u"3");
  });
}

TEST(Connection, AddressesOfEveryShape) {
  struct Case {
    std::u16string_view address;
    bool valid;
  } cases[] = {
      {u"192.168.1.10", true}, {u"0.0.0.0", true},    {u"255.255.255.255", true},
      {u"127.0.0.1", true},    {u"1.2.3", false},     {u"1.2.3.4.5", false},
      {u"256.1.1.1", false},   {u"1.2.3.256", false}, {u"-1.2.3.4", false},
      {u"1..2.3", false},      {u"", false},          {u"...", false},
      {u" 1.2.3.4", true},     {u"1.2.3.4 ", true},   {u"1e2.0.0.1", true},
      {u"0x10.0.0.1", false},
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      TestApp app;
      const uint16_t port = FreeUdpPort();
      std::vector<std::u16string> boxes = Connect(app, c.address, Utf16(std::to_string(port)));
      if (c.valid) {
        EXPECT_EQ(boxes, std::vector<std::u16string>{}) << Utf8(c.address);
        ExpectConnected(app);
      } else {
        EXPECT_EQ(boxes, std::vector<std::u16string>{u"IP Address Error: Not a Valid IP Address"})
            << Utf8(c.address);
        ExpectDisconnected(app);
      }
    });
  }
}

TEST(Connection, PortsOfEveryShape) {
  struct Case {
    std::u16string_view port;
    std::u16string_view box;
  } cases[] = {
      {u"0", u""},
      {u"65535", u""},
      {u"65536", u"Port Error: Not a Valid Port Number"},
      {u"-1", u"Port Error: Not a Valid Port Number"},
      {u"2147483647", u"Port Error: Not a Valid Port Number"},
      {u"abc", u"shutdown: Run-time error '13'\r\n\r\nType mismatch"},
      {u"", u"shutdown: Run-time error '13'\r\n\r\nType mismatch"},
      {u"12ab", u"shutdown: Run-time error '13'\r\n\r\nType mismatch"},
      {u"4294967296", u"shutdown: Run-time error '6'\r\n\r\nOverflow"},
  };
  for (const Case& c : cases) {
    OnFreshThread([&] {
      TestApp app;
      std::vector<std::u16string> boxes = Connect(app, u"127.0.0.1", c.port);
      if (c.box.empty()) {
        EXPECT_EQ(boxes, std::vector<std::u16string>{}) << Utf8(c.port);
        ExpectConnected(app);
      } else {
        EXPECT_EQ(boxes, std::vector<std::u16string>{std::u16string(c.box)}) << Utf8(c.port);
        ExpectDisconnected(app);
      }
    });
  }
}

TEST(Connection, APortHeldByAnotherHolderShowsTheConnectionError) {
  OnFreshThread([] {
    TestApp app;
    const uint16_t port = FreeUdpPort();
    TestSocket holder("0.0.0.0", port, false);
    ASSERT_TRUE(holder.bound());
    EXPECT_EQ(Connect(app, u"127.0.0.2", Utf16(std::to_string(port))),
              std::vector<std::u16string>{
                  u"Connection Error: An undetermined error has occured on that address/port"});
    ExpectDisconnected(app);
    // The sending socket was still aimed at the peer.
    Bstr host;
    app.ui.sckClient->get_RemoteHost(host.out());
    EXPECT_EQ(host.view(), u"127.0.0.2");
    LONG remotePort = 0;
    app.ui.sckClient->get_RemotePort(&remotePort);
    EXPECT_EQ(remotePort, port);
  });
}

TEST(Connection, AnInvalidAddressAlsoPreventsDisconnecting) {
  OnFreshThread([] {
    TestApp app;
    const uint16_t port = FreeUdpPort();
    Connect(app, u"127.0.0.1", Utf16(std::to_string(port)));
    ExpectConnected(app);
    app.ui.txtIpAddress->type(u"1.2.3");  // the box is disabled for the user; code can still write
    app.ui.cmdConnect->click();
    EXPECT_EQ(app.ui.cmdConnect->caption(), u"Disconnect");
    SHORT state = 0;
    app.ui.sckServer->get_State(&state);
    EXPECT_EQ(state, kStateOpen);
    app.ui.txtIpAddress->type(u"127.0.0.1");
    app.ui.cmdConnect->click();
    ExpectDisconnected(app);
  });
}

TEST(Connection, OtherCaptionsDoNothingAndCaseIsIgnored) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    app.ui.txtPort->type(Utf16(std::to_string(FreeUdpPort())));
    app.ui.cmdConnect->put_Caption(Bstr(u"CONNECT").get());
    app.ui.cmdConnect->click();
    ExpectConnected(app);
    app.ui.cmdConnect->put_Caption(Bstr(u"Busy").get());
    app.ui.cmdConnect->click();
    ExpectConnected(app);  // the state shown comes from the socket again
  });
}

}  // namespace
}  // namespace skiffwire::testing

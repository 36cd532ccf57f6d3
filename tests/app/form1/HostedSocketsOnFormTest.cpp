// Form1's two socket controls as its design creates them, each hosted by an
// extender of its own: each instance's events reach only its own
// connections, and a form whose socket class is not registered does not
// load and says why.
#include <gtest/gtest.h>

#include "Form1TestSupport.h"
#include "app/form1/Form1Program.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/ProcessEntry.h"

namespace skiffwire::testing {
namespace {

struct ArrivalCount {
  int arrivals = 0;
  ComPtr<rt::EventSink> sink = rt::MakeComObject<rt::EventSink>(
      DIID_UdpSocketEvents, [this](DISPID event, const DISPPARAMS&) {
        if (event == kDataArrivalEvent) ++arrivals;
        return S_OK;
      });
};

HRESULT BindTo(IUdpSocket& socket, uint16_t port) {
  const HRESULT hr = socket.put_Protocol(kUdpProtocol);
  if (FAILED(hr)) return hr;
  return socket.Bind(Variant::I4(port), Variant::Str(u"127.0.0.1"));
}

TEST(HostedSocketsOnForm1, EachInstanceRaisesItsOwnEvents) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    ArrivalCount server, client;
    ASSERT_EQ(server.sink->connect(app.ui.sckServer.Get()), S_OK);
    ASSERT_EQ(client.sink->connect(app.ui.sckClient.Get()), S_OK);
    const uint16_t serverPort = FreeUdpPort(), clientPort = FreeUdpPort();
    ASSERT_EQ(BindTo(*app.ui.sckServer.Get(), serverPort), S_OK);
    ASSERT_EQ(BindTo(*app.ui.sckClient.Get(), clientPort), S_OK);

    TestSocket sender("127.0.0.1", 0, false);
    ASSERT_TRUE(sender.sendTo("127.0.0.1", clientPort, "one"));
    ASSERT_TRUE(sender.sendTo("127.0.0.1", clientPort, "two"));
    ASSERT_TRUE(PumpUntil([&] { return client.arrivals == 2; }));
    EXPECT_EQ(server.arrivals, 0);
    EXPECT_EQ(app.ui.server().eventsRaised(), 0u);

    // The server's arrival also reaches Form1's own handler, which logs it.
    ASSERT_TRUE(sender.sendTo("127.0.0.1", serverPort, "three"));
    ASSERT_TRUE(PumpUntil([&] { return server.arrivals == 1; }));
    EXPECT_EQ(client.arrivals, 2);
    EXPECT_NE(app.ui.txtProcess->text().find(u"three"), std::u16string::npos);
    server.sink->disconnect();
    client.sink->disconnect();
  });
}

TEST(HostedSocketsOnForm1, AMissingSocketClassFailsTheLoadWithItsError) {
  OnFreshThread([] {
    TempFolder folder;
    platform::ScopedModuleFileName executable{folder.windowsPath() + u"\\Skiffwire.exe"};
    platform::ScopedMessageBoxPolicy boxes;
    Form1Harness ui;               // the socket control's class is not registered
    ASSERT_EQ(ui.status(), S_OK);  // the extenders exist; their controls come at load

    ComPtr<IUnknown> startup;
    EXPECT_EQ(rt::RunStartup(&CreateForm1StartupObject, startup, nullptr), S_OK);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, u"shutdown");
    EXPECT_NE(boxes.boxes()[0].text.find(u"Class not registered"), std::u16string::npos)
        << Utf8(boxes.boxes()[0].text);
    EXPECT_EQ(rt::LoadedFormCount(), 0);
    // Form1's own procedures never ran: no settings box, no caption.
  });
}

}  // namespace
}  // namespace skiffwire::testing

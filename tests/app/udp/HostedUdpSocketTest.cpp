// The socket control hosted by the control extender, as the form holds it:
// two instances on one form each pass their own events; without a control
// every member fails with error 91; after unload nothing arrives.
#include "app/udp/HostedUdpSocket.h"

#include <gtest/gtest.h>

#include "support/AppTestSupport.h"
#include "app/udp/UdpSocketClass.h"
#include "runtime/com/EventSink.h"

namespace skiffwire::testing {
namespace {

struct CountingSink {
  int arrivals = 0;
  ComPtr<rt::EventSink> sink = rt::MakeComObject<rt::EventSink>(
      DIID_UdpSocketEvents, [this](DISPID event, const DISPPARAMS&) {
        if (event == kDataArrivalEvent) ++arrivals;
        return S_OK;
      });
};

Variant PortArgument(uint16_t port) {
  return Variant::I4(port);
}

TEST(HostedUdpSocket, TwoInstancesPassTheirOwnEvents) {
  OnFreshThread([] {
    ScopedUdpSocketClass socketClass;
    ComPtr<HostedUdpSocket> first = rt::MakeComObject<HostedUdpSocket>();
    ComPtr<HostedUdpSocket> second = rt::MakeComObject<HostedUdpSocket>();
    ASSERT_EQ(first->create(), S_OK);
    ASSERT_EQ(second->create(), S_OK);
    EXPECT_NE(first->extender().control(), second->extender().control());
    CountingSink firstEvents, secondEvents;
    ASSERT_EQ(firstEvents.sink->connect(first->unknown()), S_OK);
    ASSERT_EQ(secondEvents.sink->connect(second->unknown()), S_OK);
    const uint16_t firstPort = FreeUdpPort(), secondPort = FreeUdpPort();
    ASSERT_EQ(first->put_Protocol(kUdpProtocol), S_OK);
    ASSERT_EQ(second->put_Protocol(kUdpProtocol), S_OK);
    ASSERT_EQ(first->Bind(PortArgument(firstPort), Variant::Str(u"127.0.0.1")), S_OK);
    ASSERT_EQ(second->Bind(PortArgument(secondPort), Variant::Str(u"127.0.0.1")), S_OK);
    TestSocket sender("127.0.0.1", 0, false);
    ASSERT_TRUE(sender.sendTo("127.0.0.1", firstPort, "one"));
    ASSERT_TRUE(PumpUntil([&] { return firstEvents.arrivals == 1; }));
    EXPECT_EQ(secondEvents.arrivals, 0);
    ASSERT_TRUE(sender.sendTo("127.0.0.1", secondPort, "two"));
    ASSERT_TRUE(sender.sendTo("127.0.0.1", secondPort, "three"));
    ASSERT_TRUE(PumpUntil([&] { return secondEvents.arrivals == 2; }));
    EXPECT_EQ(firstEvents.arrivals, 1);
    // The hosted control's own members, forwarded.
    Variant data;
    ASSERT_EQ(second->GetData(data.out(), Variant::I4(VT_BSTR), Variant::Missing()), S_OK);
    EXPECT_EQ(std::u16string_view(data.bstrVal), u"two");
    firstEvents.sink->disconnect();
    secondEvents.sink->disconnect();
    first->Close();
    second->Close();
  });
}

TEST(HostedUdpSocket, WithoutAControlEveryMemberFailsWithError91) {
  OnFreshThread([] {
    ComPtr<HostedUdpSocket> socket = rt::MakeComObject<HostedUdpSocket>();
    constexpr HRESULT kObjectNotSet = static_cast<HRESULT>(0x800A005B);
    LONG port = 0;
    SHORT state = 0;
    Bstr text;
    EXPECT_EQ(socket->Close(), kObjectNotSet);
    EXPECT_EQ(socket->get_LocalPort(&port), kObjectNotSet);
    EXPECT_EQ(socket->get_State(&state), kObjectNotSet);
    EXPECT_EQ(socket->get_RemoteHost(text.out()), kObjectNotSet);
    EXPECT_EQ(socket->SendData(Variant::Str(u"x")), kObjectNotSet);
    EXPECT_EQ(socket->Bind(Variant::I4(1), Variant::Missing()), kObjectNotSet);
    EXPECT_EQ(socket->InterfaceSupportsErrorInfo(IID_IUdpSocket), S_FALSE);
  });
}

TEST(HostedUdpSocket, AfterUnloadNoEventArrives) {
  OnFreshThread([] {
    ScopedUdpSocketClass socketClass;
    ComPtr<HostedUdpSocket> socket = rt::MakeComObject<HostedUdpSocket>();
    ASSERT_EQ(socket->create(), S_OK);
    CountingSink events;
    ASSERT_EQ(events.sink->connect(socket->unknown()), S_OK);
    const uint16_t port = FreeUdpPort();
    ASSERT_EQ(socket->put_Protocol(kUdpProtocol), S_OK);
    ASSERT_EQ(socket->Bind(PortArgument(port), Variant::Str(u"127.0.0.1")), S_OK);
    socket->Close();
    socket->extender().unload();
    EXPECT_EQ(socket->extender().control(), nullptr);
    EXPECT_EQ(socket->Close(), static_cast<HRESULT>(0x800A005B));
    TestSocket sender("127.0.0.1", 0, false);
    sender.sendTo("127.0.0.1", port, "late");
    PumpPending();
    EXPECT_EQ(events.arrivals, 0);
    events.sink->disconnect();
  });
}

}  // namespace
}  // namespace skiffwire::testing

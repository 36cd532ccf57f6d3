// The UDP socket control over real loopback sockets.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "support/AppTestSupport.h"
#include "support/simulated/SimulatedYield.h"
#include "app/udp/UdpSocket.h"
#include "app/udp/UdpSocketClass.h"
#include "runtime/com/EventSink.h"
#include "runtime/core/Status.h"

namespace skiffwire::testing {
namespace {

ComPtr<IUdpSocket> CreateControl() {
  ComPtr<IUdpSocket> control;
  EXPECT_EQ(CoCreateInstance(CLSID_UdpSocket, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                             IID_IUdpSocket, reinterpret_cast<void**>(&control)),
            S_OK);
  return control;
}

UdpSocket& Concrete(const ComPtr<IUdpSocket>& control) {
  return *static_cast<UdpSocket*>(control.Get());
}

HRESULT BindTo(IUdpSocket* control, LONG port) {
  HRESULT hr = control->put_Protocol(kUdpProtocol);
  if (SUCCEEDED(hr)) hr = control->put_LocalPort(port);
  if (SUCCEEDED(hr)) hr = control->Bind(Variant::Missing(), Variant::Missing());
  return hr;
}

std::u16string ErrorDescription() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK) return u"";
  Bstr description;
  info->GetDescription(description.out());
  return std::u16string(description.view());
}

std::u16string Read(IUdpSocket* control) {
  Bstr text;
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR | VT_BYREF;
  target.pbstrVal = text.out();
  EXPECT_EQ(control->GetData(&target, Variant::Missing(), Variant::Missing()), S_OK);
  return std::u16string(text.view());
}

// Counts the control's DataArrival events and runs an optional reaction.
struct ArrivalCounter {
  int events = 0;
  std::function<void()> reaction;
  ComPtr<rt::EventSink> sink;

  explicit ArrivalCounter(IUdpSocket* control) {
    sink = rt::MakeComObject<rt::EventSink>(DIID_UdpSocketEvents,
                                            [this](DISPID id, const DISPPARAMS&) {
                                              if (id == kDataArrivalEvent) {
                                                ++events;
                                                if (reaction) reaction();
                                              }
                                              return S_OK;
                                            });
    EXPECT_EQ(sink->connect(control), S_OK);
  }
  ~ArrivalCounter() { sink->disconnect(); }
};

TEST(UdpSocket, CreatedThroughTheClassRegistryWithItsEventInterface) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    ASSERT_EQ(registration.status(), S_OK);
    ComPtr<IUdpSocket> control = CreateControl();
    ASSERT_TRUE(control);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control.As(container), S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(DIID_UdpSocketEvents, &point), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(control.As(support), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IUdpSocket), S_OK);
    SHORT state = -1;
    EXPECT_EQ(control->get_State(&state), S_OK);
    EXPECT_EQ(state, kStateClosed);
  });
}

TEST(UdpSocket, WildcardBindSharesThePortWithAPeerOnAnotherLoopbackAddress) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    const uint16_t port = FreeUdpPort();
    TestSocket peer("127.0.0.2", port, true);
    ASSERT_TRUE(peer.bound());
    ComPtr<IUdpSocket> control = CreateControl();
    ASSERT_EQ(BindTo(control.Get(), port), S_OK);
    SHORT state = 0;
    control->get_State(&state);
    EXPECT_EQ(state, kStateOpen);

    ArrivalCounter arrivals(control.Get());
    ASSERT_TRUE(peer.sendTo("127.0.0.1", port, "ACK"));
    ASSERT_TRUE(PumpUntil([&] { return arrivals.events == 1; }));
    EXPECT_EQ(Read(control.Get()), u"ACK");

    EXPECT_EQ(control->Close(), S_OK);
    control->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
  });
}

TEST(UdpSocket, BindFailsWithErrorInformationWhenAnotherHolderHasThePort) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    const uint16_t port = FreeUdpPort();
    TestSocket holder("0.0.0.0", port, false);  // bound without sharing
    ASSERT_TRUE(holder.bound());
    ComPtr<IUdpSocket> control = CreateControl();
    EXPECT_EQ(BindTo(control.Get(), port), rt::ErrorStatus(10048));
    EXPECT_EQ(ErrorDescription(), u"Address in use");
    SHORT state = -1;
    control->get_State(&state);
    EXPECT_EQ(state, kStateClosed);
  });
}

TEST(UdpSocket, PropertiesRefuseValuesOutsideTheirRange) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    ComPtr<IUdpSocket> control = CreateControl();
    for (LONG port : {-1, 65536}) {
      EXPECT_EQ(control->put_LocalPort(port), rt::ErrorStatus(380));
      EXPECT_EQ(control->put_RemotePort(port), rt::ErrorStatus(380));
    }
    EXPECT_EQ(control->put_Protocol(2), rt::ErrorStatus(380));
    // Sending without a destination.
    EXPECT_EQ(control->put_Protocol(kUdpProtocol), S_OK);
    EXPECT_EQ(control->SendData(Variant::Str(u"x")), rt::ErrorStatus(10039));
    EXPECT_EQ(control->put_RemoteHost(Bstr(u"no.such.host.invalid").get()), S_OK);
    EXPECT_EQ(control->SendData(Variant::Str(u"x")), rt::ErrorStatus(11001));
    EXPECT_EQ(ErrorDescription(), u"Host not found");
  });
}

TEST(UdpSocket, SendsTextInTheAnsiCodePageOneDatagramEach) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    TestSocket receiver("127.0.0.1", 0, false);
    ComPtr<IUdpSocket> control = CreateControl();
    control->put_Protocol(kUdpProtocol);
    control->put_RemoteHost(Bstr(u"127.0.0.1").get());
    control->put_RemotePort(receiver.port());
    struct Case {
      std::u16string_view text;
      std::string bytes;
    } cases[] = {{u"02", "02"},
                 {u"Hello World!", "Hello World!"},
                 {u"", ""},
                 {u"A\u20ACB\u00E9",
                  "A\x80"
                  "B\xE9"},
                 {u"\u0416\u4E2D", "??"}};
    for (const Case& c : cases) {
      EXPECT_EQ(control->SendData(Variant::Str(c.text)), S_OK);
      EXPECT_EQ(receiver.receive(), c.bytes) << Utf8(c.text);
    }
    SHORT state = 0;
    control->get_State(&state);
    EXPECT_EQ(state, kStateOpen);  // sending set the socket up
  });
}

TEST(UdpSocket, DatagramsStayPendingAndAreReadOldestFirst) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    const uint16_t port = FreeUdpPort();
    ComPtr<IUdpSocket> control = CreateControl();
    ASSERT_EQ(BindTo(control.Get(), port), S_OK);
    ArrivalCounter arrivals(control.Get());
    TestSocket sender("127.0.0.1", 0, false);
    const std::string big(65507, '\x80');
    for (std::string_view datagram :
         {std::string_view("first"), std::string_view(""), std::string_view(big)}) {
      ASSERT_TRUE(sender.sendTo("127.0.0.1", port, datagram));
    }
    ASSERT_TRUE(PumpUntil([&] { return arrivals.events == 3; }));
    EXPECT_EQ(Concrete(control).pendingDatagrams(), 3u);
    LONG pendingBytes = 0;
    control->get_BytesReceived(&pendingBytes);
    EXPECT_EQ(pendingBytes, 5 + 65507);
    EXPECT_EQ(Read(control.Get()), u"first");
    EXPECT_EQ(Read(control.Get()), u"");
    EXPECT_EQ(Read(control.Get()), std::u16string(65507, u'\u20AC'));
    EXPECT_EQ(Read(control.Get()), u"");  // nothing pending: an empty text
    EXPECT_EQ(arrivals.events, 3);
  });
}

TEST(UdpSocket, TheReceiveQueueIsBoundedAndCountsWhatItDrops) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    const uint16_t port = FreeUdpPort();
    ComPtr<IUdpSocket> control = CreateControl();
    ASSERT_EQ(BindTo(control.Get(), port), S_OK);
    TestSocket sender("127.0.0.1", 0, false);
    const size_t total = UdpSocket::kMaxQueuedDatagrams + 100;
    // In bursts the kernel's own buffer holds, so every datagram reaches the control.
    for (size_t sent = 0; sent < total;) {
      for (int i = 0; i < 100 && sent < total; ++i, ++sent) {
        ASSERT_TRUE(sender.sendTo("127.0.0.1", port, "junk" + std::to_string(sent)));
      }
      ASSERT_TRUE(PumpUntil([&] {
        return Concrete(control).pendingDatagrams() + Concrete(control).droppedDatagrams() == sent;
      }));
    }
    EXPECT_EQ(Concrete(control).pendingDatagrams(), UdpSocket::kMaxQueuedDatagrams);
    EXPECT_EQ(Concrete(control).droppedDatagrams(), 100u);
    EXPECT_EQ(Read(control.Get()), u"junk0");  // the oldest are kept
  });
}

TEST(UdpSocket, HandlersThatPumpMessagesNestOnlyToTheBound) {
  OnFreshThread([] {
    ScopedUdpSocketClass registration;
    const uint16_t port = FreeUdpPort();
    ComPtr<IUdpSocket> control = CreateControl();
    ASSERT_EQ(BindTo(control.Get(), port), S_OK);
    ComPtr<SimulatedYield> yield = rt::MakeComObject<SimulatedYield>();
    TestSocket sender("127.0.0.1", 0, false);
    constexpr int kFollowUps = 1000;
    int sent = 0;
    ArrivalCounter arrivals(control.Get());
    // Each event brings the next datagram and pumps before it returns, as
    // the application's handler does for any other text.
    arrivals.reaction = [&] {
      Read(control.Get());
      if (sent < kFollowUps) {
        ++sent;
        sender.sendTo("127.0.0.1", port, "junk");
      }
      SHORT forms = 0;
      yield->DoEvents(&forms);
    };
    ASSERT_TRUE(sender.sendTo("127.0.0.1", port, "junk"));
    ASSERT_TRUE(PumpUntil([&] { return arrivals.events == kFollowUps + 1; }));
    EXPECT_EQ(Concrete(control).deepestEventNesting(), UdpSocket::kMaxEventNesting);
    EXPECT_EQ(Concrete(control).eventsRaised(), static_cast<uint64_t>(kFollowUps + 1));
  });
}

}  // namespace
}  // namespace skiffwire::testing

// The reply handling's reading of arbitrary datagrams, sent over loopback to
// the connected application's receiving socket: each arrival either reads
// the oldest pending datagram and logs it exactly (its bytes in the ANSI code
// page, then " Received"), followed by the lines of its reaction, or, after a
// time-out, leaves it pending and the log as it was. "ACK" and "NAK" in any
// case are recognised, every other text is not, and the reply timer is off
// after every datagram read.
// Libraries: skiffwire_test_support
#include <arpa/inet.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "support/simulated/SimulatedForm1.h"
#include "app/udp/UdpSocketClass.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/kernel.h"
#include "platform/testing.h"
#include "platform/user.h"

namespace {

using skiffwire::SimulatedForm1;

constexpr std::u16string_view kAckLines =
    u"---- Timeout timer disabled ----\r\n---- End Transmission ----\r\n";
constexpr std::u16string_view kNakAtLimitLines =
    u"---- Timeout timer disabled ----\r\n---- Transmission attempt 1 ----\r\n"
    u"---- Maximum retry limit reached ----\r\n";

uint16_t FreeUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  close(fd);
  return ntohs(address.sin_port);
}

std::u16string Utf16(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string AnsiText(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::u16string text(static_cast<size_t>(needed), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), needed);
  return text;
}

// The whole text is the reply, ignoring the case of ASCII letters.
bool IsReply(std::u16string_view text, std::u16string_view reply) {
  if (text.size() != reply.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != reply[i]) return false;
  }
  return true;
}

// The model holds for printable ASCII only: the platform's linguistic
// comparison gives control characters no weight (a NAK followed by NULs and
// a U+0001 still reads as NAK), and other letters fold by their own rules.
bool IsPrintableAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < 0x20 || c >= 0x7F) return false;
  }
  return true;
}

// The application loaded and connected, the peer on 127.0.0.2 at the port
// the receiving socket listens on, time standing still, and the attempt
// limit 0 so that a "NAK" only logs that the limit is reached.
struct Bench {
  platform::ScopedVirtualClock clock{1000000};
  fuzz_support::ScratchFolder folder;
  platform::ScopedModuleFileName executable{folder.win32("Skiffwire.exe")};
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass socketClass;
  uint16_t port = FreeUdpPort();
  std::unique_ptr<SimulatedForm1> ui;
  int sender = -1;

  Bench() {
    ui = std::make_unique<SimulatedForm1>();
    // The status also reports how the events were connected, which has a
    // known fault of its own; the sockets are what this bench needs.
    FUZZ_CHECK(ui->sckServer && ui->sckClient, "the socket controls");
    ui->load();
    ui->txtIpAddress->type(u"127.0.0.2");
    ui->txtPort->type(Utf16(std::to_string(port)));
    ui->txtRetry->type(u"0");
    ui->cmdConnect->click();
    SHORT state = 0;
    FUZZ_CHECK(SUCCEEDED(ui->sckServer->get_State(&state)) && state == 1, "connected");
    sender = socket(AF_INET, SOCK_DGRAM, 0);
    FUZZ_CHECK(sender >= 0, "the sending socket");
  }

  void send(const std::string& datagram) const {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const ssize_t sent = sendto(sender, datagram.data(), datagram.size(), 0,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
    FUZZ_CHECK(sent == static_cast<ssize_t>(datagram.size()), "sent over loopback");
  }

  // Dispatches messages until the receiving socket has raised one more
  // DataArrival (and so its handler has run).
  void deliver() const {
    const uint64_t before = ui->server().eventsRaised();
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (ui->server().eventsRaised() != before) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    }
    FUZZ_CHECK(ui->server().eventsRaised() == before + 1, "one DataArrival per datagram");
  }

  // Reads what the handler left pending, so every input starts empty.
  void drain() const {
    while (ui->server().pendingDatagrams() > 0) {
      Bstr ignored;
      VARIANT target;
      VariantInit(&target);
      target.vt = VT_BSTR | VT_BYREF;
      target.pbstrVal = ignored.out();
      ui->sckServer->GetData(&target, Variant::Missing(), Variant::Missing());
    }
  }
};

Bench& TheBench() {
  static Bench bench;
  return bench;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bench& bench = TheBench();
  SimulatedForm1& ui = *bench.ui;
  skiffwire::Form1& code = ui.code();
  FuzzedDataProvider input(data, size);

  code.StartTick = static_cast<LONG>(GetTickCount());
  const std::u16string stamp(code.Timestamp().view());
  std::deque<std::string> pending;
  for (int count = 0; count < 16 && input.remaining_bytes() > 0; ++count) {
    const bool timedOut = input.ConsumeIntegralInRange(0, 7) == 0;
    const std::string datagram = input.ConsumeRandomLengthString(65507);
    code.TimedOut = timedOut ? VARIANT_TRUE : VARIANT_FALSE;
    code.Attempt = 0;
    ui.tmrTimeout->put_Enabled(VARIANT_TRUE);
    ui.txtProcess->put_Text(nullptr);

    pending.push_back(datagram);
    bench.send(datagram);
    bench.deliver();
    const std::u16string& log = ui.txtProcess->text();
    if (timedOut) {
      FUZZ_CHECK(log.empty(), "nothing is logged after a time-out");
      FUZZ_CHECK(ui.server().pendingDatagrams() == pending.size(), "the datagram stays pending");
      continue;
    }
    const std::u16string text = AnsiText(pending.front());
    pending.pop_front();
    FUZZ_CHECK(ui.server().pendingDatagrams() == pending.size(), "the oldest datagram is read");
    const std::u16string received = stamp + text + u" Received\r\n";
    FUZZ_CHECK(log.starts_with(received), "the received line");
    FUZZ_CHECK(!ui.tmrTimeout->enabled(), "the reply timer is off");
    const std::u16string_view reaction = std::u16string_view(log).substr(received.size());
    const bool ack = reaction == kAckLines;
    const bool nak = code.Attempt == 1;
    if (nak) {
      FUZZ_CHECK(reaction == kNakAtLimitLines, "a NAK counts an attempt and stops at the limit");
    } else if (!ack) {
      FUZZ_CHECK(reaction.empty(), "any other text is only logged");
    }
    if (IsPrintableAscii(text)) {
      FUZZ_CHECK(ack == IsReply(text, u"ACK"), "what an ACK is");
      FUZZ_CHECK(nak == IsReply(text, u"NAK"), "what a NAK is");
    }
  }
  code.TimedOut = VARIANT_FALSE;
  bench.drain();
  return 0;
}

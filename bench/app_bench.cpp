// The application's costs, on Form1 as the program runs it (the forms
// engine on a headless display, the real text boxes and labels):
// transmissions with wait state 0 (log included) at three sizes against a
// plain sendto loop of the same datagrams, and the checksum refresh for a
// 1 MB payload against one copy of the text and a table-driven CRC-8 pass
// over it.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "app/protocol/Crc8.h"
#include "app/udp/UdpSocketClass.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/user.h"
#include "support/AppTestSupport.h"
#include "support/Form1Harness.h"

namespace {

using skiffwire::testing::Form1Harness;

constexpr int kPlainPackets = 10000;
constexpr size_t kPayloadCharacters = 1 << 20;

// A device that takes datagrams and never answers: a socket bound to
// 127.0.0.2 on a free port. The application listens on every address at the
// same port, so without it every datagram sent to 127.0.0.2 would come back
// to the application as a reply to log; a real device is not the sender.
// The plain loop sends to it too, so both pay the same delivery.
class SilentDevice {
 public:
  SilentDevice() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    address_.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.2", &address_.sin_addr);
    bind(fd_, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
    socklen_t length = sizeof address_;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address_), &length);
  }
  ~SilentDevice() { close(fd_); }
  SilentDevice(const SilentDevice&) = delete;
  SilentDevice& operator=(const SilentDevice&) = delete;

  uint16_t port() const { return ntohs(address_.sin_port); }
  const sockaddr_in& address() const { return address_; }

 private:
  int fd_;
  sockaddr_in address_{};
};

std::u16string Ascii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

benchmark::Counter PerDatagram(double datagrams, benchmark::IterationCount iterations) {
  return benchmark::Counter(datagrams * static_cast<double>(iterations),
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                            benchmark::Counter::kIs1000);
}

// A transmission of N one-character packets (start marker, packets, checksum,
// end marker): the markers' pauses run on a virtual clock, so the time
// measured is the application's own work and the sends.
void BM_Transmission(benchmark::State& state) {
  const auto packets = static_cast<size_t>(state.range(0));
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass registration;
  SilentDevice device;
  Form1Harness ui;
  ui.load();
  ui.txtIpAddress->type(u"127.0.0.2");
  ui.txtPort->type(Ascii(std::to_string(device.port())));
  ui.cmdConnect->click();
  ui.txtWaitState->type(u"0");
  ui.txtPacketLen->type(u"1");
  ui.txtDatagram->type(std::u16string(packets, u'x'));
  for (auto _ : state) {
    ui.cmdSendDataGram->click();  // the handler, then the paints it left
    benchmark::DoNotOptimize(ui.txtProcess->text().size());
  }
  state.counters["us_per_datagram"] =
      PerDatagram(static_cast<double>(packets + 3), state.iterations());
  state.counters["log_chars"] = static_cast<double>(ui.txtProcess->text().size());
}
BENCHMARK(BM_Transmission)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// The datagrams of a 10,000-packet transmission through a plain socket.
void BM_PlainSendtoLoop(benchmark::State& state) {
  SilentDevice device;
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to = device.address();
  for (auto _ : state) {
    sendto(fd, "02", 2, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    for (int i = 0; i < kPlainPackets; ++i) {
      sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    sendto(fd, "CRC0010000", 10, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    sendto(fd, "04", 2, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  close(fd);
  state.counters["us_per_datagram"] = PerDatagram(kPlainPackets + 3, state.iterations());
}
BENCHMARK(BM_PlainSendtoLoop)->Unit(benchmark::kMillisecond);

std::u16string Payload() {
  std::u16string payload(kPayloadCharacters, u'a');
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<char16_t>(u' ' + i % 90);
  return payload;
}

// UpdateChecksum for a payload of 1,048,576 characters: the counts, then the
// CRC-8 over every character's ANSI code.
void BM_UpdateChecksum1MB(benchmark::State& state) {
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass registration;
  Form1Harness ui;
  ui.load();
  ui.txtDatagram->setText(Payload());
  for (auto _ : state)
    benchmark::DoNotOptimize(ui.code().UpdateChecksum());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPayloadCharacters);
}
BENCHMARK(BM_UpdateChecksum1MB)->Unit(benchmark::kMillisecond);

// One key typed at the end of the 1 MB payload, from the key's message to
// the repainted labels: the edit window inserts it, the text box raises
// Change, UpdateChecksum refreshes the three labels, and they and the edit
// paint.
void BM_TypedCharacter1MB(benchmark::State& state) {
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass registration;
  Form1Harness ui;
  ui.load();
  ui.txtDatagram->setText(Payload());
  HWND box = ui.txtDatagram->hwnd();
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  skiffwire::testing::PumpPending();
  for (auto _ : state) {
    ui.display->typeText(u"x");
    skiffwire::testing::PumpPending();
  }
  state.counters["payload_chars"] = static_cast<double>(ui.txtDatagram->text().size());
}
BENCHMARK(BM_TypedCharacter1MB)->Unit(benchmark::kMillisecond);

// The floor for the same payload: one copy of the text (as reading Text
// makes) and a table-driven CRC-8 pass over its bytes (every character of
// the payload is ASCII, so its low byte is its ANSI code).
void BM_ChecksumBaseline1MB(benchmark::State& state) {
  const std::u16string payload = Payload();
  for (auto _ : state) {
    Bstr copy(payload);
    uint8_t crc = 0;
    for (char16_t unit : copy.view())
      crc = skiffwire::protocol::Crc8Step(crc, static_cast<uint8_t>(unit));
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPayloadCharacters);
}
BENCHMARK(BM_ChecksumBaseline1MB)->Unit(benchmark::kMillisecond);

HWND BenchForm() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = u"AppBenchForm";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"AppBenchForm", u"Skiffwire", WS_CAPTION | WS_VISIBLE, 20, 20, 500,
                         370, nullptr, nullptr, nullptr, nullptr);
}

// A multi-line edit like the log's and the payload's (words wrap), with no
// limit on its text.
HWND BenchEdit(HWND form, const std::u16string& text) {
  HWND box = CreateWindowExW(
      WS_EX_CLIENTEDGE, u"EDIT", u"",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 12, 216,
      456, 102, form, nullptr, nullptr, nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  SendMessageW(box, EM_LIMITTEXT, 0, 0);
  SetWindowTextW(box, text.c_str());
  return box;
}

void PumpPaints() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
}

std::u16string LogLine(int64_t i) {
  return Ascii(std::to_string(i / 1000) + "." + std::to_string(i % 1000) + " - Sending packet " +
               std::to_string(i) + " of 30000\r\n");
}

// The edit window under the log's new append: the caret past the end, the
// line through EM_REPLACESEL, the caret scrolled into view, and the paint
// that follows, in a log that already holds N lines. The cost per line
// should not grow with N.
void BM_EditReplaceSelAtEnd(benchmark::State& state) {
  std::u16string text;
  for (int64_t i = 0; i < state.range(0); ++i)
    text += LogLine(i);
  HWND form = BenchForm();
  HWND box = BenchEdit(form, text);
  PumpPaints();
  int64_t next = state.range(0);
  for (auto _ : state) {
    const std::u16string appended = LogLine(next++);
    SendMessageW(box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(appended.c_str()));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    PumpPaints();
  }
  state.counters["lines"] = static_cast<double>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
  DestroyWindow(form);
}
BENCHMARK(BM_EditReplaceSelAtEnd)->Arg(1000)->Arg(30000)->Unit(benchmark::kMicrosecond);

// One character typed at the end of a 1 MB payload in the edit window, up
// to the repainted window (the labels' part is BM_UpdateChecksum1MB): the
// payload as lines of 64 characters (0) or as one paragraph (1).
void BM_EditTypeCharacterIn1MB(benchmark::State& state) {
  std::u16string payload = Payload();
  if (state.range(0) == 0) {
    for (size_t i = 64; i + 1 < payload.size(); i += 66) {
      payload[i] = u'\r';
      payload[i + 1] = u'\n';
    }
  }
  HWND form = BenchForm();
  HWND box = BenchEdit(form, payload);
  SendMessageW(box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  PumpPaints();
  for (auto _ : state) {
    SendMessageW(box, WM_CHAR, u'x', 0);
    PumpPaints();
  }
  state.counters["lines"] = static_cast<double>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
  DestroyWindow(form);
}
BENCHMARK(BM_EditTypeCharacterIn1MB)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

// The application's costs: a 10,000-packet transmission with wait state 0
// (log included) against a plain sendto loop of the same datagrams, and the
// checksum refresh for a 1 MB payload.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "app/simulated/SimulatedForm1.h"
#include "app/udp/UdpSocketClass.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

namespace {

using skiffwire::SimulatedForm1;

constexpr int kPackets = 10000;

uint16_t FreePort() {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

// One transmission of 10,000 one-character packets: the markers' pauses run
// on a virtual clock, so the time measured is the application's own work.
void BM_Transmission10000Packets(benchmark::State& state) {
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass registration;
  SimulatedForm1 ui;
  const uint16_t port = FreePort();
  ui.load();
  ui.txtIpAddress->type(u"127.0.0.2");
  ui.txtPort->type(std::u16string(std::u16string(u"") + [&] {
    std::string digits = std::to_string(port);
    return std::u16string(digits.begin(), digits.end());
  }()));
  ui.cmdConnect->click();
  ui.txtWaitState->type(u"0");
  ui.txtPacketLen->type(u"1");
  ui.txtDatagram->type(std::u16string(kPackets, u'x'));
  for (auto _ : state) {
    ui.cmdSendDataGram->click();
    benchmark::DoNotOptimize(ui.txtProcess->text().size());
  }
  const double datagrams = kPackets + 3;
  state.counters["us_per_datagram"] = benchmark::Counter(
      datagrams * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
  state.counters["log_chars"] = static_cast<double>(ui.txtProcess->text().size());
}
BENCHMARK(BM_Transmission10000Packets)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same datagrams through a plain socket, for comparison.
void BM_PlainSendtoLoop(benchmark::State& state) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(FreePort());
  inet_pton(AF_INET, "127.0.0.2", &to.sin_addr);
  for (auto _ : state) {
    sendto(fd, "02", 2, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    for (int i = 0; i < kPackets; ++i) {
      sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    sendto(fd, "CRC0010000", 10, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    sendto(fd, "04", 2, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  close(fd);
  state.counters["us_per_datagram"] = benchmark::Counter(
      (kPackets + 3) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_PlainSendtoLoop)->Unit(benchmark::kMillisecond);

// UpdateChecksum for a payload of 1,048,576 characters: the counts, then
// the CRC-8 over every character's ANSI code.
void BM_UpdateChecksum1MB(benchmark::State& state) {
  platform::ScopedMessageBoxPolicy boxes;
  skiffwire::ScopedUdpSocketClass registration;
  SimulatedForm1 ui;
  std::u16string payload(1 << 20, u'a');
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<char16_t>(u' ' + i % 90);
  ui.txtDatagram->type(payload);
  for (auto _ : state)
    benchmark::DoNotOptimize(ui.code().UpdateChecksum());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_UpdateChecksum1MB)->Unit(benchmark::kMillisecond);

}  // namespace
